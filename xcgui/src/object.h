// Base of every object a handle can designate, and the kinds that handle checks tell apart.
#pragma once

#include "xcgui/xcgui.h"

namespace xcgui {

enum class Kind { kWindow, kWidget, kImage, kDraw };

class Object {
 public:
  explicit Object(Kind kind) : kind_(kind) {}
  virtual ~Object() = default;
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;

  Kind kind() const { return kind_; }
  // The object's handle; 0 until the context registers it, and again once it is destroyed.
  HXCGUI handle() const { return handle_; }
  void set_handle(HXCGUI handle) { handle_ = handle; }
  // False from the moment the object is destroyed; its memory may live on until the current event
  // dispatch ends, so code that raised an event tests this before touching the object again.
  bool alive() const { return alive_; }
  void mark_dead() { alive_ = false; }

 private:
  Kind kind_;
  HXCGUI handle_ = nullptr;
  bool alive_ = true;
};

}  // namespace xcgui
