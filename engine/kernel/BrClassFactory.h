// BrClassFactory and _factoryentry: creation by class name; the macros that give a class its type record and factory entry.
#pragma once

#include "core/BrObject.h"

// One registry entry: the class name (terminated, cut to fit) and the function that makes a new instance.
struct _factoryentry {
  static const int ciNameLen = 260;
  char name[ciNameLen];
  void* (*fn)();
  // The game library whose loading registered the entry (1-based); 0 for every other library. Entries of a
  // freed game library leave the registry with it, so nothing calls into unloaded code.
  int32_t lib;
};

// Constructing one registers a class with the engine. Each creatable class has one static instance, m_Factory.
class BrClassFactory {
public:
  // Registers name with create; logs "SUCCESS: Registered %s" or "CRITICAL: Failed to register %s" (debug log).
  // Names of 260 characters or more, empty names and null functions are refused.
  BrClassFactory(const char* name, void* (*create)());
  BrClassFactory& operator=(const BrClassFactory&) { return *this; }
};

// In a class body: the type record with SafeCast/IsA/IsAExactly, Instantiate and the factory entry.
#define BR_DECLARE_CLASS(Class) \
  BR_DECLARE_TYPE(Class)        \
public:                         \
  static void* Instantiate();   \
  static BrClassFactory m_Factory;

// In one .cpp: defines the record (parent Parent's), the type operations, Instantiate and the registration.
// Instantiate gives null when the allocation fails.
#define BR_IMPLEMENT_CLASS(Class, Parent)         \
  BR_IMPLEMENT_TYPE(Class, Parent)                \
  void* Class::Instantiate() {                    \
    try {                                         \
      return static_cast<BrObject*>(new Class()); \
    } catch (...) {                               \
      return nullptr;                             \
    }                                             \
  }                                               \
  BrClassFactory Class::m_Factory(#Class, &Class::Instantiate);
