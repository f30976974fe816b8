// Small value classes for the object-model tests: a chain Animal <- Dog <- Puppy and an unrelated Rock.
#pragma once

#include <cstdint>

#include "runtime/class_family.h"
#include "runtime/pel_object.h"

namespace sample {

// Counts lifecycle events of the sample classes; reset by each test that reads it.
struct Counters {
  int destructed = 0;
  int before_assign = 0;
};
Counters& TheCounters();

class Animal : public CPelObject {
  PEL_OBJECT_CLASS(Animal, CPelObject, "sample::Animal")

  Animal() = default;
  explicit Animal(int legs) : legs_(legs) {}
  Animal(const Animal&) = default;
  Animal& operator=(const Animal&) = default;
  ~Animal() override { ++TheCounters().destructed; }

  void OnBeforeAssign() override { ++TheCounters().before_assign; }

  int legs() const { return legs_; }
  void set_legs(int legs) { legs_ = legs; }
  std::uint32_t reserved() const { return reserved_; }
  void set_reserved(std::uint32_t value) { reserved_ = value; }

 protected:
  bool HasEqualFields(const Animal& other) const {
    return CPelObject::HasEqualFields(other) && legs_ == other.legs_;
  }

 private:
  int legs_ = 4;
};

class Dog : public Animal {
  PEL_OBJECT_CLASS(Dog, Animal, "sample::Dog")

  Dog() = default;
  Dog(int legs, int barks) : Animal(legs), barks_(barks) {}

  int barks() const { return barks_; }

 protected:
  bool HasEqualFields(const Dog& other) const { return Animal::HasEqualFields(other) && barks_ == other.barks_; }

 private:
  int barks_ = 0;
};

// No fields of its own: equality and copies are Dog's.
class Puppy : public Dog {
  PEL_OBJECT_CLASS(Puppy, Dog, "sample::Puppy")
};

class Rock : public CPelObject {
  PEL_OBJECT_CLASS(Rock, CPelObject, "sample::Rock")

  int weight = 0;
};

// Too big for a pool block: its factory and clones come from the process heap.
class Boulder : public CPelObject {
  PEL_OBJECT_CLASS(Boulder, CPelObject, "sample::Boulder")

  char mass[400] = {};
};

}  // namespace sample
