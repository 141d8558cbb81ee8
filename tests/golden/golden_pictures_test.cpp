// Golden pictures: a fixed list of pictures rendered by quorvex-batch, each
// reduced to a checksum of what a reader sees (the decoded pixels of a BMP,
// the text of an EPS file without its date line, the lines of `info`) and
// compared with tests/golden/golden_pictures.txt. Any change of code that
// alters one of these pictures fails here; a change that alters a picture on
// purpose updates the list in the same commit and says why.
//
// QX_GOLDEN_UPDATE=1 rewrites the list from the current build.
#include "support/run_batch.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

const std::string kListFile = std::string(QX_TEST_SOURCE_DIR) + "/golden/golden_pictures.txt";

std::string tempPath(const std::string& name) { return "/tmp/qx_golden_" + name; }

using qx::test::runBatch;

std::vector<uint8_t> readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Fnv {
    uint64_t h = 1469598103934665603ull;
    void add(uint8_t b) { h = (h ^ b) * 1099511628211ull; }
    void add(const std::string& s) { for (char c : s) add(static_cast<uint8_t>(c)); }
    std::string hex() const
    {
        char buf[17];
        std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(h));
        return buf;
    }
};

// Checksum of the pixels of a 24-bit bottom-up BMP, top row first, with its
// size; "unreadable" when the file is not such a BMP.
std::string bmpPixelSum(const std::string& path)
{
    const std::vector<uint8_t> b = readBytes(path);
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || b[28] != 24)
        return "unreadable";
    const int w = b[18] | (b[19] << 8), h = b[22] | (b[23] << 8);
    const size_t stride = (static_cast<size_t>(w) * 3 + 3) & ~size_t(3);
    if (b.size() < 54 + stride * h)
        return "unreadable";
    Fnv f;
    f.add(std::to_string(w) + "x" + std::to_string(h));
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c)
            for (int k = 0; k < 3; ++k)
                f.add(b[54 + (h - 1 - r) * stride + 3 * c + k]);
    return f.hex();
}

// Checksum of a text without the lines that carry the date of writing.
std::string textSum(const std::string& text)
{
    Fnv f;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        if (line.find("CreationDate") == std::string::npos)
            f.add(line + "\n");
    return f.hex();
}

std::string fileTextSum(const std::string& path)
{
    const std::vector<uint8_t> b = readBytes(path);
    return b.empty() ? "unreadable" : textSum(std::string(b.begin(), b.end()));
}

std::map<std::string, std::string> readList()
{
    std::map<std::string, std::string> list;
    std::ifstream in(kListFile);
    std::string name, sum;
    while (in >> name >> sum)
        list[name] = sum;
    return list;
}

// The checksums, computed now; empty for a picture whose command failed.
std::map<std::string, std::string> computeAll()
{
    const std::string common = " --size 160x120 ";
    struct Picture {
        const char* name;
        std::string args;
    };
    const std::string rabbit = " --tool julia --c -0.12256,0.74486 ";
    const std::vector<Picture> pictures = {
        {"mandel_default_2_threads", "render --tool mandel --threads 2" + common},
        {"mandel_default_1_thread", "render --tool mandel --threads 1" + common},
        {"mandel_seahorse_deep",
         "render --tool mandel --centre -0.743643887037151,0.131825904205330 --width 5e-5 --reps 2000" + common},
        {"mandel_degree3_blend", "render --tool mandel --degree 3 --mode blend" + common},
        {"mandel_guessed_preview", "render --tool mandel --guess --threads 2 --size 400x300 --reps 1000"},
        {"mandel_binary_antialiased", "render --tool mandel --mode binary --reps 200@1" + common},
        {"julia_rabbit_dem", "render" + rabbit + "--mode dem" + common},
        {"julia_rabbit_binary", "render" + rabbit + "--mode binary --threads 1" + common},
        {"julia_rabbit_bands", "render" + rabbit + "--mode bands --threads 2" + common},
        {"dyc_herman_ring_1_thread", "render --tool dyc --example 0 --threads 1" + common},
        {"dyc_herman_ring_2_threads", "render --tool dyc --example 0 --threads 2" + common},
        {"dyc_alien_invasion", "render --tool dyc --example 7" + common},
        {"dyc_two_attracting_blend", "render --tool dyc --example 4" + common},
        {"dyc_newton_cubic", "render --tool dyc --example 1 --map \"Newton(zzz-2z+2=0)\" --width 2" + common},
        {"dyc_householder_5th_roots", "render --tool dyc --roots 5 --w 1 --method householder" + common},
        {"dyr_henon_with_orbit", "render --tool dyr --example 1" + common},
        {"ppc_newton_family", "render --tool ppc --example 0 --threads 2" + common},
        {"ppc_magnetism_one", "render --tool ppc --example 5" + common},
        {"ppr_burning_ship", "render --tool ppr --example 0" + common},
        {"ppr_henon_family", "render --tool ppr --example 1 --threads 1" + common},
        {"bif_logistic_with_overlay", "render --tool bif --default 0 --seed 0.3 --plotted 200" + common},
        {"lya_zircon_zity", "render --tool lya --string AABAB --centre 3.4,3.4 --width 0.6 --threads 2" + common},
        {"web_logistic_arrows",
         "render --tool web --example logistic --seed 0.15 --steps 40 --arrows" + common},
        {"srf_dragon_generation_10", "render --tool srf --example dragon --generation 10" + common},
        {"srf_gosper_generation_3", "render --tool srf --example gosper --generation 3" + common},
        {"ifc_flake", "render --tool ifc --example flake --random-seed 3 --points 50000" + common},
        {"ifr_fern", "render --tool ifr --example fern --random-seed 3 --points 50000" + common},
        {"dyr_gingerbread_man", "render --tool dyr --example 0" + common},
        {"dyr_newton_system",
         "render --tool dyr --f \"Newton(3-x-yy=0)\" --g \"Newton(4+y-xx=0)\" --width 4 --threads 2" + common},
    };
    std::map<std::string, std::string> sums;
    for (const Picture& p : pictures) {
        const std::string out = tempPath(std::string(p.name) + ".bmp");
        std::remove(out.c_str());
        if (runBatch(p.args + " -o " + out) == 0)
            sums[p.name] = bmpPixelSum(out);
    }
    // Inverse iteration with seed orbits, as EPS.
    const std::string eps = tempPath("julia_iim_orbits.eps");
    if (runBatch("export --format eps --tool julia --c -1 --mode iim --seeds \"0.1; 0.3i\" --orbit-length 200"
                 " --size 321x241 -o " + eps) == 0)
        sums["julia_iim_orbits_eps"] = fileTextSum(eps);
    // A cobweb as EPS.
    const std::string webEps = tempPath("cobweb.eps");
    if (runBatch("export --format eps --tool web --example mandelbrot --seed 0.3 --steps 30 --size 321x241 -o " +
                 webEps) == 0)
        sums["web_cobweb_eps"] = fileTextSum(webEps);
    // A curve as EPS (its joined segments as paths).
    const std::string srfEps = tempPath("hilbert.eps");
    if (runBatch("export --format eps --tool srf --example hilbert --generation 3 --size 321x241 -o " + srfEps) == 0)
        sums["srf_hilbert_eps"] = fileTextSum(srfEps);
    // Metafiles: a curve's records, and a pixel picture embedded under them.
    const std::string srfEmf = tempPath("hilbert.emf"), mandelEmf = tempPath("mandel.emf");
    if (runBatch("export --format emf --tool srf --example hilbert --generation 3 --size 321x241 -o " + srfEmf) == 0)
        sums["srf_hilbert_emf"] = fileTextSum(srfEmf);
    if (runBatch("export --format emf --tool mandel --size 160x120 -o " + mandelEmf) == 0)
        sums["mandel_emf"] = fileTextSum(mandelEmf);
    // A document written by one run and read back by the next.
    const std::string doc = tempPath("readback.jul"), back = tempPath("readback.bmp");
    std::string info;
    if (runBatch("render" + rabbit + "--mode blend --reps 300 --centre 0.1,0.2 --width 1.3" + common + "-o " +
                 tempPath("first.bmp") + " --save " + doc) == 0 &&
        runBatch("render " + doc + " --size 160x120 -o " + back) == 0 && runBatch("info " + doc, &info) == 0) {
        sums["document_read_back"] = bmpPixelSum(back);
        sums["document_info"] = textSum(info);
    }
    return sums;
}

TEST(GoldenPictures, EveryPictureMatchesItsRecordedChecksum)
{
    const std::map<std::string, std::string> now = computeAll();
    if (std::getenv("QX_GOLDEN_UPDATE")) {
        std::ofstream out(kListFile);
        for (const auto& [name, sum] : now)
            out << name << " " << sum << "\n";
        GTEST_SKIP() << "rewrote " << kListFile;
    }
    const std::map<std::string, std::string> recorded = readList();
    ASSERT_EQ(recorded.size(), 36u) << "the list " << kListFile << " is incomplete";
    for (const auto& [name, sum] : recorded) {
        const auto it = now.find(name);
        ASSERT_NE(it, now.end()) << name << ": the batch command failed";
        EXPECT_EQ(it->second, sum) << name << " changed";
    }
}

} // namespace
