// Lays every picture the toy keeps out on one PNG, four times enlarged and named, so the art can
// be looked over in one place and a stray pixel, a wrong colour or a hole in a fish is seen.
//
//   contact_sheet [output.png]      (docs/contact-sheet.png when no path is given)

#include "Art.h"
#include "Bitmap.h"
#include "Font.h"
#include "Geometry.h"
#include "Painter.h"
#include "PngFile.h"


#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Each picture pixel becomes a Scale x Scale block, and each name is drawn at TextScale times the
// font's size: big enough to read beside a face four times its size, small enough that the
// longest fish name still fits under its fish.
constexpr int Scale = 4;
constexpr int TextScale = 2;

constexpr int Margin = 24;
constexpr int ColumnGap = 24;
constexpr int RowGap = 32;
constexpr int NameGap = 6;

// The pictures use white and black for their own backgrounds, so the sheet is a grey that is
// neither, and transparency is a checkerboard two sheet pixels to a check: finer than one
// enlarged pixel, so a single hole reads as a hole and not as a white pixel.
constexpr tk::Color Background = 0xFF9C9C9C;
constexpr tk::Color CheckLight = tk::colors::White;
constexpr tk::Color CheckDark = 0xFFCCCCCC;
constexpr tk::Color NameColor = tk::colors::Black;

struct Tile {
    std::string_view name;
    tk::Bitmap picture;
};

using Row = std::vector<Tile>;

// Faces, fish facing left, fish facing right, then whatever else there is (the icon). Sorting by
// name rather than listing them means a picture added to art/ shows up without touching this.
std::vector<Row> groupedPictures()
{
    Row faces, fishLeft, fishRight, others;
    for (std::string_view name : art::Names()) {
        Tile tile { name, art::Picture(name) };
        if (name.starts_with("imgFishL"))
            fishLeft.push_back(std::move(tile));
        else if (name.starts_with("imgFishR"))
            fishRight.push_back(std::move(tile));
        else if (name.starts_with("img"))
            faces.push_back(std::move(tile));
        else
            others.push_back(std::move(tile));
    }
    std::vector<Row> rows;
    for (Row* row : { &faces, &fishLeft, &fishRight, &others }) {
        if (!row->empty())
            rows.push_back(std::move(*row));
    }
    return rows;
}

int nameWidth(std::string_view name) { return tk::Font::system().textWidth(name) * TextScale; }
int nameHeight() { return tk::Font::system().height() * TextScale; }

int tileWidth(const Tile& tile) { return std::max(tile.picture.width() * Scale, nameWidth(tile.name)); }
int tileHeight(const Tile& tile) { return tile.picture.height() * Scale + NameGap + nameHeight(); }

int rowWidth(const Row& row)
{
    int width = 0;
    for (const Tile& tile : row)
        width += tileWidth(tile);
    return width + ColumnGap * (static_cast<int>(row.size()) - 1);
}

int rowHeight(const Row& row)
{
    int height = 0;
    for (const Tile& tile : row)
        height = std::max(height, tileHeight(tile));
    return height;
}

void drawEnlarged(tk::Bitmap& sheet, tk::Point at, const tk::Bitmap& picture)
{
    for (int y = 0; y < picture.height() * Scale; ++y) {
        tk::Color* dst = sheet.row(at.y + y) + at.x;
        const tk::Color* src = picture.row(y / Scale);
        for (int x = 0; x < picture.width() * Scale; ++x) {
            tk::Color c = src[x / Scale];
            if (!tk::isOpaque(c)) {
                // Checks aligned to the sheet, so neighbouring holes join into one board.
                int sx = at.x + x, sy = at.y + y;
                c = ((sx / 2 + sy / 2) % 2) ? CheckDark : CheckLight;
            }
            dst[x] = c;
        }
    }
}

// The font only draws at its own size, so the name is drawn once at 1x and scaled up.
void drawName(tk::Painter& painter, tk::Point at, std::string_view name)
{
    const tk::Font& font = tk::Font::system();
    tk::Bitmap text(font.textWidth(name), font.height());
    tk::Painter textPainter(text, text.rect());
    textPainter.drawText({ 0, 0 }, name, NameColor, font, text.rect());
    painter.drawBitmapScaled({ at.x, at.y, text.width() * TextScale, text.height() * TextScale }, text);
}

tk::Bitmap renderSheet(const std::vector<Row>& rows)
{
    int width = 0, height = 0;
    for (const Row& row : rows) {
        width = std::max(width, rowWidth(row));
        height += rowHeight(row);
    }
    width += 2 * Margin;
    height += 2 * Margin + RowGap * (static_cast<int>(rows.size()) - 1);

    tk::Bitmap sheet(width, height, Background);
    tk::Painter painter(sheet, sheet.rect());
    int y = Margin;
    for (const Row& row : rows) {
        int x = Margin;
        for (const Tile& tile : row) {
            int cell = tileWidth(tile);
            int pictureWidth = tile.picture.width() * Scale;
            drawEnlarged(sheet, { x + (cell - pictureWidth) / 2, y }, tile.picture);
            int nameTop = y + tile.picture.height() * Scale + NameGap;
            drawName(painter, { x + (cell - nameWidth(tile.name)) / 2, nameTop }, tile.name);
            x += cell + ColumnGap;
        }
        y += rowHeight(row) + RowGap;
    }
    return sheet;
}

}

int main(int argc, char** argv)
{
    if (argc > 2) {
        std::fprintf(stderr, "usage: %s [output.png]\n", argv[0]);
        return 2;
    }
    const std::string path = argc == 2 ? argv[1] : "docs/contact-sheet.png";
    try {
        tk::Bitmap sheet = renderSheet(groupedPictures());
        writePng(path, sheet);
        std::printf("%s: %d x %d\n", path.c_str(), sheet.width(), sheet.height());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "contact_sheet: %s\n", e.what());
        return 1;
    }
    return 0;
}
