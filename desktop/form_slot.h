// A form created once at start-up, for the whole run, and published in the
// global pointer the other forms reach it through.
#pragma once

#include <memory>

namespace dorv {

template <class T>
struct FormSlot {
    T *&global;
    std::unique_ptr<T> form;
    explicit FormSlot(T *&g) : global(g), form(std::make_unique<T>()) { global = form.get(); }
    ~FormSlot() { global = nullptr; }
};

}  // namespace dorv
