// Draws the program's font and look-and-feel bitmaps and writes them as
// 32-bit uncompressed BMP files:
//   make_bitmaps OUTPUT_DIR [FONT_FILE]
// OUTPUT_DIR gets ui/fonts/ and ui/lf/vuq/. FONT_FILE defaults to Debian's
// DejaVu Sans. Glyph cells come from the program's own font tables.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "shell/Constants.hpp"
#include "ui/base/BitmapFontFunc.hpp"

namespace {

namespace fs = std::filesystem;

struct Rgb {
    int r, g, b;
};

// Channel value of a grey level or colour component: v x 255, nearest, ties to even.
int channel(double v) { return static_cast<int>(std::nearbyint(v * 255.0)); }
Rgb grey(double v) { return {channel(v), channel(v), channel(v)}; }
const Rgb black = grey(0.0);
const Rgb accent{channel(1.0), channel(0.81), channel(0.51)};
const Rgb label{channel(0.5), channel(0.63), channel(0.75)};

struct Image {
    int w, h;
    std::vector<Rgb> px;
    Image(int w, int h, Rgb fill = black) : w(w), h(h), px(static_cast<std::size_t>(w * h), fill) {}
    Rgb& at(int x, int y) { return px[static_cast<std::size_t>(y * w + x)]; }
    void fill(int x, int y, int fw, int fh, Rgb c) {
        for (int j = std::max(y, 0); j < std::min(y + fh, h); ++j)
            for (int i = std::max(x, 0); i < std::min(x + fw, w); ++i) at(i, j) = c;
    }
    // Mixes `c` over the pixel with coverage a in 0..1.
    void blend(int x, int y, Rgb c, double a) {
        if (x < 0 || y < 0 || x >= w || y >= h || a <= 0.0) return;
        Rgb& p = at(x, y);
        auto mix = [a](int under, int over) { return static_cast<int>(std::lround(under + (over - under) * std::min(a, 1.0))); };
        p = {mix(p.r, c.r), mix(p.g, c.g), mix(p.b, c.b)};
    }
};

void put32(std::ofstream& out, std::uint32_t v) {
    char b[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    out.write(b, 4);
}
void put16(std::ofstream& out, std::uint16_t v) {
    char b[2] = {char(v), char(v >> 8)};
    out.write(b, 2);
}

// 32 bits per pixel, no compression, rows bottom-up, every pixel opaque.
void writeBmp(const fs::path& path, const Image& img) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    const std::uint32_t dataSize = static_cast<std::uint32_t>(img.w * img.h * 4);
    out.write("BM", 2);
    put32(out, 14 + 40 + dataSize);
    put32(out, 0);
    put32(out, 14 + 40);
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(img.w));
    put32(out, static_cast<std::uint32_t>(img.h));
    put16(out, 1);
    put16(out, 32);
    put32(out, 0);  // BI_RGB
    put32(out, dataSize);
    put32(out, 2835);  // 72 dpi
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = img.h - 1; y >= 0; --y) {
        for (int x = 0; x < img.w; ++x) {
            const Rgb& p = img.px[static_cast<std::size_t>(y * img.w + x)];
            char b[4] = {char(p.b), char(p.g), char(p.r), char(0xFF)};
            out.write(b, 4);
        }
    }
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

// --- Fonts ---

struct Coverage {
    int w = 0, h = 0, left = 0, top = 0;  // top: rows above the baseline
    std::vector<double> a;                 // 0..1, row by row
};

class Face {
public:
    explicit Face(const std::string& file) {
        if (FT_Init_FreeType(&lib_) != 0) throw std::runtime_error("cannot start FreeType");
        if (FT_New_Face(lib_, file.c_str(), 0, &face_) != 0) {
            FT_Done_FreeType(lib_);
            throw std::runtime_error("cannot open font file " + file);
        }
    }
    ~Face() {
        FT_Done_Face(face_);
        FT_Done_FreeType(lib_);
    }
    Coverage render(unsigned char c, int pixelSize) {
        FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(pixelSize));
        if (FT_Load_Char(face_, c, FT_LOAD_RENDER) != 0) throw std::runtime_error("cannot render a glyph");
        const FT_Bitmap& bm = face_->glyph->bitmap;
        Coverage cov;
        cov.w = static_cast<int>(bm.width);
        cov.h = static_cast<int>(bm.rows);
        cov.left = face_->glyph->bitmap_left;
        cov.top = face_->glyph->bitmap_top;
        for (int y = 0; y < cov.h; ++y)
            for (int x = 0; x < cov.w; ++x) cov.a.push_back(bm.buffer[y * bm.pitch + x] / 255.0);
        return cov;
    }

private:
    FT_Library lib_{};
    FT_Face face_{};
};

// Ink of the characters in `specs`; space and 127 have none of the font's.
std::vector<std::pair<unsigned char, Coverage>> inks(Face& face, const zil::Constants::FontDefinition& def,
                                                     int pixelSize) {
    std::vector<std::pair<unsigned char, Coverage>> out;
    for (const zil::CharacterSpec& s : def.specs)
        for (int c = s.first; c <= s.last; ++c)
            if (c != ' ' && c != 127) out.emplace_back(static_cast<unsigned char>(c), face.render(static_cast<unsigned char>(c), pixelSize));
    return out;
}

// Squeezes coverage to at most `maxW` columns by averaging, so a glyph
// wider than its cell keeps all its ink.
Coverage squeeze(const Coverage& c, int maxW) {
    if (c.w <= maxW) return c;
    Coverage s = c;
    s.w = maxW;
    s.a.assign(static_cast<std::size_t>(maxW * c.h), 0.0);
    const double scale = static_cast<double>(c.w) / maxW;
    for (int y = 0; y < c.h; ++y) {
        for (int x = 0; x < maxW; ++x) {
            double x0 = x * scale, x1 = (x + 1) * scale, sum = 0.0;
            for (int k = static_cast<int>(x0); k < c.w && k < x1; ++k)
                sum += c.a[static_cast<std::size_t>(y * c.w + k)] * (std::min<double>(k + 1, x1) - std::max<double>(k, x0));
            s.a[static_cast<std::size_t>(y * maxW + x)] = std::min(sum / scale, 1.0);
        }
    }
    return s;
}

Image makeFont(Face& face, const zil::Constants::FontDefinition& def, int pixelSize) {
    const zil::GlyphTable table =
        zil::BitmapFontFunc::buildGlyphTable(def.replacement, def.widths, def.specs, def.glyphHeight, def.spacing);
    auto glyphInks = inks(face, def, pixelSize);
    int above = 0, below = 0;
    for (const auto& [c, cov] : glyphInks) {
        above = std::max(above, cov.top);
        below = std::max(below, cov.h - cov.top);
    }
    if (above + below > def.glyphHeight)
        throw std::runtime_error(std::string(def.name) + ": the glyphs need " + std::to_string(above + below) +
                                 " rows at " + std::to_string(pixelSize) + " px");
    const int baseline = above + (def.glyphHeight - above - below) / 2;
    int width = 0;
    for (std::int32_t w : def.widths) width += w;
    Image img(width, def.glyphHeight);
    for (const auto& [c, raw] : glyphInks) {
        const zil::Glyph g = zil::BitmapFontFunc::getChar(table, c);
        Coverage cov = squeeze(raw, g.w);
        const int x0 = g.x + (g.w - cov.w) / 2;
        const int y0 = baseline - cov.top;
        for (int y = 0; y < cov.h; ++y)
            for (int x = 0; x < cov.w; ++x) img.blend(x0 + x, y0 + y, grey(1.0), cov.a[static_cast<std::size_t>(y * cov.w + x)]);
    }
    if (const zil::Glyph* box = zil::BitmapFontFunc::findGlyph(table, 127); box && box != zil::BitmapFontFunc::findGlyph(table, def.replacement)) {
        // A small hollow box standing on the baseline.
        const int bw = std::max(box->w - 4, 3), bh = std::min(bw + 2, baseline);
        const int x0 = box->x + (box->w - bw) / 2, y0 = baseline - bh;
        img.fill(x0, y0, bw, bh, grey(1.0));
        img.fill(x0 + 1, y0 + 1, bw - 2, bh - 2, black);
    }
    return img;
}

// Pixel sizes. lucida-14: at 13 px the glyphs fill their cells as the
// widths expect (at 12 px every word looks letter-spaced) and the ink still
// fits 15 rows. clean-14 takes 10 px, small enough for its narrow cells.
int pixelSize(const zil::Constants::FontDefinition& def) { return def.name == "lucida-14" ? 13 : 10; }

// --- Look-and-feel bitmaps ---

// A raised face: black outline, light bevel up-left, dark bevel down-right.
Image raised(int w, int h, Rgb outline, Rgb light, Rgb dark, Rgb face) {
    Image img(w, h, outline);
    img.fill(1, 1, w - 2, h - 2, dark);
    img.fill(1, 1, w - 3, h - 3, light);
    img.fill(2, 2, w - 4, h - 4, face);
    return img;
}

// A sunken well of the look's greys with a black interior.
Image checkBox(bool checked) {
    Image img(13, 13, grey(0.75));
    img.fill(0, 0, 12, 12, grey(0.5));
    img.fill(1, 1, 11, 11, black);
    if (checked) {
        // A tick: two strokes, anti-aliased by 4 x 4 samples per pixel.
        auto dist = [](double px, double py, double ax, double ay, double bx, double by) {
            double dx = bx - ax, dy = by - ay;
            double t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
            return std::hypot(px - ax - t * dx, py - ay - t * dy);
        };
        for (int y = 1; y < 12; ++y) {
            for (int x = 1; x < 12; ++x) {
                int hits = 0;
                for (int sy = 0; sy < 4; ++sy)
                    for (int sx = 0; sx < 4; ++sx) {
                        double px = x + (sx + 0.5) / 4, py = y + (sy + 0.5) / 4;
                        double d = std::min(dist(px, py, 3.0, 6.5, 5.5, 9.0), dist(px, py, 5.5, 9.0, 10.0, 3.5));
                        hits += d <= 1.1;
                    }
                img.blend(x, y, accent, hits / 16.0);
            }
        }
    }
    return img;
}

// One piece of a tab, 24 high: the selected tab stands full height in the
// page's grey with an accent band on top; an unselected one is three rows
// lower and darker, above a light line where the page begins.
enum class Piece { Left, Middle, Right };
Image tab(Piece piece, bool selected) {
    const int w = piece == Piece::Left ? 4 : piece == Piece::Middle ? 16 : 12;
    const Rgb background = grey(0.2);
    Image img(w, 24, background);
    const int top = selected ? 0 : 3;
    const Rgb face = selected ? grey(0.3) : grey(0.2);
    img.fill(0, top, w, 24 - top, black);                 // outline
    img.fill(0, top + 1, w, 23 - top, face);
    if (selected) img.fill(0, 1, w, 2, accent);
    else img.fill(0, 4, w, 1, grey(0.35));                // top bevel
    if (piece == Piece::Left) {
        img.fill(0, top + 1, 1, 23 - top, black);
        img.fill(1, top + (selected ? 3 : 1), 1, 23 - top - (selected ? 2 : 0), grey(0.5));
        img.at(0, top) = background;                      // rounded corner
    }
    if (piece == Piece::Right) {
        img.fill(w - 1, top + 1, 1, 23 - top, black);
        img.fill(w - 2, top + (selected ? 3 : 2), 1, 23 - top, grey(selected ? 0.2 : 0.05));
        img.at(w - 1, top) = background;
    }
    if (!selected) img.fill(0, 23, w, 1, grey(0.5));       // the page's top edge
    return img;
}

// The demo's image button: a raised panel with a small cube at its left end,
// or the same pressed in.
Image imageButton(bool down) {
    const int w = 120, h = 32;
    Image img = down ? raised(w, h, accent, grey(0.2), grey(0.8), grey(0.5))
                     : raised(w, h, black, grey(0.65), grey(0.05), grey(0.35));
    const int d = down ? 1 : 0;
    // Cube faces: top in the accent, front in the label colour, side darker.
    const int cx = 8 + d, cy = 9 + d, s = 10;
    for (int y = 0; y < 4; ++y) img.fill(cx + 4 - y, cy + y, s, 1, accent);  // top, slanted
    img.fill(cx, cy + 4, s, s, label);                                       // front
    for (int x = 0; x < 4; ++x) img.fill(cx + s + x, cy + 4 - x, 1, s, {label.r / 2, label.g / 2, label.b / 2});
    return img;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: make_bitmaps OUTPUT_DIR [FONT_FILE]\n";
        return 2;
    }
    const fs::path out = argv[1];
    const std::string fontFile = argc == 3 ? argv[2] : "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    try {
        Face face(fontFile);
        for (const auto& def : zil::Constants::fontDefinitions) {
            writeBmp(out / "ui/fonts" / def.fileName, makeFont(face, def, pixelSize(def)));
        }
        const fs::path look = out / "ui/lf/vuq";
        writeBmp(look / "ButtonOut.bmp", raised(140, 32, black, grey(0.65), grey(0.05), grey(0.35)));
        writeBmp(look / "ButtonIn.bmp", raised(140, 32, accent, grey(0.2), grey(0.8), grey(0.5)));
        writeBmp(look / "CheckBoxChecked.bmp", checkBox(true));
        writeBmp(look / "CheckBoxUnchecked.bmp", checkBox(false));
        for (bool selected : {true, false}) {
            const std::string prefix = selected ? "TabIndexSelected" : "TabIndexUnselected";
            writeBmp(look / (prefix + "Left.bmp"), tab(Piece::Left, selected));
            writeBmp(look / (prefix + "Middle.bmp"), tab(Piece::Middle, selected));
            writeBmp(look / (prefix + "Right.bmp"), tab(Piece::Right, selected));
        }
        writeBmp(look / "DemoImageUp.bmp", imageButton(false));
        writeBmp(look / "DemoImageDown.bmp", imageButton(true));
    } catch (const std::exception& e) {
        std::cerr << "make_bitmaps: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
