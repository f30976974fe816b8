// The layout format: builds a window or a widget tree from a layout document.
#pragma once

#include <string>

#include "xcgui/src/object.h"
#include "xcgui/src/xml_document.h"

namespace xcgui {

class Context;

// Builds the layout whose root is `root` and returns its root object, registered: a new hidden window
// (root <window>; `parent` must be null or a window, which then owns it) or a widget added to `parent`
// (a window or an element). Null on any error, with *error saying why; nothing is created then.
Object* LoadLayout(Context& context, const XmlElement& root, Object* parent, std::wstring* error);

}  // namespace xcgui
