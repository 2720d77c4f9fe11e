#pragma once

namespace forms {

// Shows the busy mouse pointer for as long as it lives, and restores the
// pointer on every way out of the scope, exceptions included. Guards nest:
// the pointer is set by the outermost guard and restored when that one
// ends. Without a GUI application (core tests) only the counters move.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

    // Guards alive now; 0 means the normal pointer shows.
    static int Depth();
    // How many times the busy pointer has been put up (outermost guards
    // only), so tests can tell an action showed it.
    static int TimesShown();
};

} // namespace forms
