#pragma once
// Ghostscript as the reader of EPS files in tests: renders a file to a PPM
// picture and reads it back.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace qx::test {

struct Ppm {
    int w = 0, h = 0;
    std::vector<unsigned char> rgb;
    std::array<int, 3> at(int x, int y) const
    {
        const size_t i = (static_cast<size_t>(y) * w + x) * 3;
        return {rgb[i], rgb[i + 1], rgb[i + 2]};
    }
    bool lit(int x, int y) const // not the black background
    {
        const auto c = at(x, y);
        return c[0] || c[1] || c[2];
    }
};

// Ghostscript's reading of an EPS file at `dpi`; empty (and a test failure) when it fails.
inline Ppm ghostscript(const std::string& eps, int dpi)
{
    const std::string ppm = eps + ".ppm";
    const std::string cmd = "gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -sDEVICE=ppmraw -r" + std::to_string(dpi) +
                            " -sOutputFile=" + ppm + " " + eps + " 2>&1";
    Ppm p;
    if (const int rc = std::system(cmd.c_str()); rc != 0) {
        ADD_FAILURE() << cmd << " exited with " << rc;
        return p;
    }
    std::ifstream in(ppm, std::ios::binary);
    std::string magic;
    auto number = [&in] { // the header may carry '#' comment lines
        in >> std::ws;
        while (in.peek() == '#') {
            std::string skip;
            std::getline(in, skip);
            in >> std::ws;
        }
        int v = 0;
        in >> v;
        return v;
    };
    in >> magic;
    p.w = number();
    p.h = number();
    const int max = number();
    in.get();
    if (magic != "P6" || max != 255 || p.w <= 0 || p.h <= 0) {
        ADD_FAILURE() << "unexpected picture from Ghostscript: " << magic << " " << p.w << "x" << p.h;
        return {};
    }
    p.rgb.resize(static_cast<size_t>(p.w) * p.h * 3);
    in.read(reinterpret_cast<char*>(p.rgb.data()), static_cast<std::streamsize>(p.rgb.size()));
    std::remove(ppm.c_str());
    return p;
}

} // namespace qx::test
