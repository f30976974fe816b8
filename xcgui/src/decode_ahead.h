// Images decoded on a thread of the library's own before the UI thread asks for them.
#pragma once

#include <cstddef>
#include <memory>

#include "xcgui/src/image.h"

namespace xcgui {

// Queues a copy of `size` bytes at `data` for decoding (Image::DecodePixels) on the decode-ahead thread,
// which starts when needed with COM and an imaging factory of its own. Any thread, also before the library
// starts. false when the copy or the thread cannot be had: nothing is queued then.
bool DecodeAhead(const void* data, size_t size);

// Takes the image decoded ahead from bytes equal to `data`'s, waiting while its decode is queued or running.
// Null when no such bytes are queued or their decode failed. The caller owns the image, which still needs
// WrapForGdiplus.
std::unique_ptr<Image> TakeDecodedAhead(const void* data, size_t size);

// Drops what nobody took, the queued decodes included, and waits for the decode-ahead thread to end.
void DropDecodedAhead();

}  // namespace xcgui
