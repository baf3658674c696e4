#pragma once

#include <cstdint>

// Placeholder: the color model conversions are being written.
class cClrModels {
public:
    std::uint8_t rgbR() const { return m_r; }
    void rgbR(std::uint8_t NewVal) { m_r = NewVal; }

private:
    std::uint8_t m_r = 0;
};
