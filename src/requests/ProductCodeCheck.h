#pragma once

namespace records { struct RecordServices; }

namespace requests {

class RequestScreen;

// The product code check of line entry, run from the "..." button: the
// code box's text (a barcode becomes its item code) is looked up through
// the product search at the stock location, and the chosen item's figures
// fill the display boxes. The zero on-hand refusal and the kit test come
// with the rest of line entry.
class ProductCodeCheck {
public:
    ProductCodeCheck(RequestScreen& screen, const records::RecordServices& services);
    void Run();

private:
    bool LookUp();

    RequestScreen& screen_;
    const records::RecordServices& services_;
};

} // namespace requests
