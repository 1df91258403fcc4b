#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Builds SWF files: movies with shapes, sprites, frames and actions, for
// tests and generated content.
namespace swf {

using Bytes = std::vector<std::uint8_t>;

struct Color {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    std::uint8_t a = 255;
};

// x' = a*x + c*y + tx, y' = b*x + d*y + ty; translation in twips.
struct Matrix {
    double a = 1;
    double b = 0;
    double c = 0;
    double d = 1;
    std::int32_t tx = 0;
    std::int32_t ty = 0;

    static Matrix translate(std::int32_t x, std::int32_t y) { return {1, 0, 0, 1, x, y}; }
    static Matrix scale(double sx, double sy, std::int32_t x = 0, std::int32_t y = 0) { return {sx, 0, 0, sy, x, y}; }
};

// Multipliers in 1/256 units.
struct ColorTransform {
    std::int16_t mulR = 256;
    std::int16_t mulG = 256;
    std::int16_t mulB = 256;
    std::int16_t mulA = 256;
    std::int16_t addR = 0;
    std::int16_t addG = 0;
    std::int16_t addB = 0;
    std::int16_t addA = 0;
};

class BitWriter {
public:
    void ub(std::uint32_t value, int bits);
    void sb(std::int32_t value, int bits);
    void flush();
    void u8(std::uint8_t value);
    void u16(std::uint16_t value);
    void u32(std::uint32_t value);
    void string(const std::string& text);
    void append(const Bytes& bytes);
    void rect(std::int32_t xMin, std::int32_t xMax, std::int32_t yMin, std::int32_t yMax);
    void matrix(const Matrix& m);
    void colorTransform(const ColorTransform& t, bool withAlpha);
    void color(Color c, bool withAlpha);

    const Bytes& bytes() const { return bytes_; }
    Bytes take();

private:
    Bytes bytes_;
    std::uint8_t pending_ = 0;
    int pendingBits_ = 0;
};

// Bits needed to store every value as a signed field.
int signedBits(std::initializer_list<std::int32_t> values);

enum class Spread { Pad = 0, Reflect = 1, Repeat = 2 };

struct GradientStop {
    std::uint8_t ratio = 0;
    Color color;
};

struct Fill {
    enum class Kind { Solid, Linear, Radial, Focal, Bitmap } kind = Kind::Solid;
    Color color;
    Matrix matrix;
    std::vector<GradientStop> stops;
    Spread spread = Spread::Pad;
    double focalPoint = 0;
    // Bitmap fills (see SwfBitmapWriter.h): fill type 0x40 to 0x43 and the bitmap's id.
    std::uint8_t bitmapType = 0x40;
    std::uint16_t bitmapId = 0;

    static Fill solid(Color color);
    // The gradient square spans -16384..16384 before `matrix`.
    static Fill linear(const Matrix& matrix, std::vector<GradientStop> stops, Spread spread = Spread::Pad);
    static Fill radial(const Matrix& matrix, std::vector<GradientStop> stops, Spread spread = Spread::Pad);
    static Fill focal(const Matrix& matrix, std::vector<GradientStop> stops, double focalPoint,
                      Spread spread = Spread::Pad);
};

enum class Cap { Round = 0, None = 1, Square = 2 };
enum class Join { Round = 0, Bevel = 1, Miter = 2 };

struct LineStyle {
    std::uint16_t width = 20;
    Color color;
    // Only DefineShape4 stores these.
    Cap startCap = Cap::Round;
    Cap endCap = Cap::Round;
    Join join = Join::Round;
    double miterLimit = 3;
    bool noClose = false;
};

// A fill or line style count: one byte, or 0xFF and 16 bits.
void writeStyleCount(BitWriter& out, std::size_t count);

// The cap, join and flag bits of a DefineShape4 or DefineMorphShape2 line style, with the
// miter limit when the join needs one.
void writeLineFlags(BitWriter& out, const LineStyle& line);

// Shape records with their styles; coordinates in twips.
class ShapeBuilder {
public:
    ShapeBuilder();
    // Style indices are 1-based within the current style group; 0 means none.
    int addFill(const Fill& fill);
    int addLine(const LineStyle& line);
    // Starts a new style group; later indices refer to it.
    ShapeBuilder& newStyles();

    ShapeBuilder& fill0(int index);
    ShapeBuilder& fill1(int index);
    ShapeBuilder& line(int index);
    ShapeBuilder& moveTo(std::int32_t x, std::int32_t y);
    ShapeBuilder& lineTo(std::int32_t x, std::int32_t y);
    ShapeBuilder& curveTo(std::int32_t cx, std::int32_t cy, std::int32_t x, std::int32_t y);
    // A closed rectangle path from the current style selection.
    ShapeBuilder& rectangle(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1);
    // A closed circle of sixteen curves from the current style selection.
    ShapeBuilder& circle(std::int32_t cx, std::int32_t cy, std::int32_t radius);

    // The DefineShape tag body for `version` (1 to 4).
    Bytes encode(std::uint16_t id, int version) const;
    // xMin, xMax, yMin, yMax of every point drawn, in twips.
    std::array<std::int32_t, 4> bounds() const { return {minX_, maxX_, minY_, maxY_}; }
    // The records alone, with the bit counts of the first style group in front (glyphs, morph shapes).
    Bytes encodeEdges(int version) const;

    // A rectangle filled with one colour.
    static ShapeBuilder filledRectangle(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1, Color color);

private:
    struct Group {
        std::vector<Fill> fills;
        std::vector<LineStyle> lines;
    };
    struct Record {
        enum class Kind { Style, Move, Line, Curve } kind = Kind::Move;
        std::int32_t x = 0;
        std::int32_t y = 0;
        std::int32_t cx = 0;
        std::int32_t cy = 0;
        std::optional<int> fill0;
        std::optional<int> fill1;
        std::optional<int> line;
        std::optional<std::size_t> newGroup;
    };

    Record& styleRecord();
    void writeStyles(BitWriter& out, const Group& group, int version) const;
    void writeRecords(BitWriter& out, int version) const;
    void include(std::int32_t x, std::int32_t y);

    std::vector<Group> groups_;
    std::vector<Record> records_;
    std::int32_t penX_ = 0;
    std::int32_t penY_ = 0;
    std::int32_t minX_ = 0;
    std::int32_t maxX_ = 0;
    std::int32_t minY_ = 0;
    std::int32_t maxY_ = 0;
    bool hasBounds_ = false;
};

class Actions {
public:
    Actions& play();
    Actions& stop();
    Actions& nextFrame();
    Actions& previousFrame();
    Actions& gotoFrame(std::uint16_t frame);
    Actions& gotoLabel(const std::string& label);
    Actions& raw(std::uint8_t code, const Bytes& payload = {});
    // The DoAction body, with the end marker.
    Bytes encode() const;

private:
    Bytes bytes_;
};

struct Place {
    std::uint16_t depth = 1;
    std::optional<std::uint16_t> character;
    std::optional<Matrix> matrix;
    std::optional<ColorTransform> colorTransform;
    std::optional<std::uint16_t> ratio;
    std::optional<std::string> name;
    std::optional<std::uint16_t> clipDepth;
    bool move = false;
};

// Tag codes the writer uses.
enum TagCode : std::uint16_t {
    kEnd = 0,
    kShowFrame = 1,
    kPlaceObject = 4,
    kRemoveObject = 5,
    kSetBackgroundColor = 9,
    kDoAction = 12,
    kPlaceObject2 = 26,
    kRemoveObject2 = 28,
    kDefineSprite = 39,
    kFrameLabel = 43,
    kPlaceObject3 = 70,
};

// The tags of a timeline; a movie's or a sprite's.
class Timeline {
public:
    Timeline& place(const Place& place);
    // Version 1, 2 or 3 of the place tag.
    Timeline& place(const Place& place, int version);
    Timeline& placeObject(std::uint16_t depth, std::uint16_t character, const Matrix& matrix = {});
    Timeline& remove(std::uint16_t depth);
    // The old RemoveObject that names the character too.
    Timeline& removeObject1(std::uint16_t character, std::uint16_t depth);
    Timeline& showFrame();
    Timeline& label(const std::string& name);
    Timeline& actions(const Actions& actions);
    // Any tag; `longForm` writes a 32-bit length even when it is short.
    Timeline& tag(std::uint16_t code, const Bytes& body, bool longForm = false);

    int frames() const { return frames_; }
    const Bytes& tags() const { return tags_; }

private:
    Bytes tags_;
    int frames_ = 0;
};

enum class Compression { None, Zlib };

class Movie : public Timeline {
public:
    // Stage size in pixels.
    Movie(int width, int height, double frameRate = 12, int version = 8);

    Movie& background(Color color);
    Movie& defineShape(std::uint16_t id, const ShapeBuilder& shape, int version = 3);
    Movie& defineSprite(std::uint16_t id, const Timeline& timeline);
    // Overrides the frame count in the header, which otherwise counts ShowFrames.
    Movie& frameCount(int count);

    Bytes finish(Compression compression = Compression::None) const;

private:
    int width_;
    int height_;
    double frameRate_;
    int version_;
    std::optional<int> frameCount_;
};

// The DefineSprite body for a timeline.
Bytes spriteBody(std::uint16_t id, const Timeline& timeline);
// A tag with its header.
Bytes encodeTag(std::uint16_t code, const Bytes& body, bool longForm = false);

}
