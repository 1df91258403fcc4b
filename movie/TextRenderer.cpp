#include "movie/TextRenderer.h"

#include <algorithm>

namespace movie {

namespace {

// System glyphs are fetched once at this EM size in pixels and scaled from there.
constexpr double kSystemGlyphHeight = 1024;
constexpr std::size_t kMaxSystemGlyphs = 4096;
// Edit texts keep two pixels clear inside their bounds.
constexpr double kGutter = 40;
constexpr std::int32_t kBorderWidth = 20;

Point point(std::int32_t x, std::int32_t y) { return {static_cast<double>(x), static_cast<double>(y)}; }

void appendEdge(Outline& out, Outline& scratch, bool reversed, const Canvas& canvas, Point a, Point control, Point b,
                bool curved)
{
    scratch.clear();
    if (curved)
        scratch.addQuad(a, control, b, canvas.width, canvas.height);
    else
        scratch.addLine(a, b);
    if (reversed)
        out.addReversed(scratch);
    else
        out.append(scratch);
}

// Adds a glyph's filled area to `out`, every contour wound the same way as the fill sees it.
void appendGlyph(Outline& out, const Shape& glyph, const Matrix& toDevice, const Canvas& canvas)
{
    Outline edge;
    for (const auto& layer : glyph.layers)
        for (const auto& e : layer.edges) {
            const bool has0 = e.fill0 == 1;
            const bool has1 = e.fill1 == 1;
            if (has0 == has1)
                continue;
            appendEdge(out, edge, has0, canvas, toDevice.apply(point(e.x0, e.y0)), toDevice.apply(point(e.cx, e.cy)),
                       toDevice.apply(point(e.x1, e.y1)), e.curved);
        }
}

void appendSystemGlyph(Outline& out, const SystemGlyph& glyph, const Matrix& toDevice, const Canvas& canvas)
{
    Outline edge;
    for (const auto& s : glyph.path)
        appendEdge(out, edge, false, canvas, toDevice.apply(s.from), toDevice.apply(s.control), toDevice.apply(s.to),
                   s.curved);
}

bool isBreakable(char32_t c) { return c >= 0x2E80; }

}

void TextRenderer::setSystemFont(SystemFont* font)
{
    if (font != system_)
        systemGlyphs_.clear();
    system_ = font;
}

bool TextRenderer::draw(ShapeRenderer& shapes, const Canvas& canvas, const Movie& movie, std::uint16_t id,
                        const Matrix& toDevice, const ColorTransform& transform)
{
    const Character* character = movie.character(id);
    if (const auto* text = std::get_if<TextDefinition>(character)) {
        drawText(shapes, canvas, movie, *text, toDevice, transform);
        return true;
    }
    if (const auto* field = std::get_if<EditTextDefinition>(character)) {
        drawEditText(shapes, canvas, movie, *field, toDevice, transform);
        return true;
    }
    return false;
}

void TextRenderer::drawText(ShapeRenderer& shapes, const Canvas& canvas, const Movie& movie,
                            const TextDefinition& text, const Matrix& toDevice, const ColorTransform& transform)
{
    const Matrix toDeviceText = toDevice * text.matrix;
    for (const auto& run : text.runs) {
        const auto* font = std::get_if<Font>(movie.character(run.fontId));
        if (!font || run.height == 0)
            continue;
        const double scale = run.height / font->unitsPerEm();
        outline_.clear();
        double x = run.x;
        for (const auto& entry : run.glyphs) {
            if (const Shape* glyph = font->glyph(entry.index))
                appendGlyph(outline_, *glyph, toDeviceText * Matrix{scale, 0, 0, scale, x, static_cast<double>(run.y)},
                            canvas);
            x += entry.advance;
        }
        shapes.fill(canvas, outline_, FillRule::NonZero, run.color, transform);
    }
}

void TextRenderer::drawEditText(ShapeRenderer& shapes, const Canvas& canvas, const Movie& movie,
                                const EditTextDefinition& field, const Matrix& toDevice,
                                const ColorTransform& transform)
{
    // Trimmed only between fields: the glyphs of one layout point into the cache.
    if (systemGlyphs_.size() > kMaxSystemGlyphs)
        systemGlyphs_.clear();
    if (field.border)
        drawBorder(shapes, canvas, field.bounds, toDevice, transform);
    const Font* font = field.fontId ? std::get_if<Font>(movie.character(*field.fontId)) : nullptr;
    const double height = field.height;
    if (height <= 0 || field.text.empty())
        return;
    const SystemFontMetrics lineMetrics = metrics(font, height);
    const double lineStep = lineMetrics.ascent + lineMetrics.descent + field.leading;
    const double left = field.bounds.xMin + kGutter + field.leftMargin;
    const double right = field.bounds.xMax - kGutter - field.rightMargin;
    double baseline = field.bounds.yMin + kGutter + lineMetrics.ascent;
    outline_.clear();
    for (const Line& line : layOut(field, font)) {
        // Lines wholly below the field are cut off.
        if (baseline - lineMetrics.ascent >= field.bounds.yMax)
            break;
        const double indent = line.paragraphStart ? field.indent : 0;
        double x = left + indent;
        if (field.align == TextAlign::Right)
            x = right - line.width;
        else if (field.align == TextAlign::Center)
            x = (left + indent + right - line.width) / 2;
        for (const auto& glyph : line.glyphs) {
            if (glyph.shape) {
                const double scale = height / font->unitsPerEm();
                appendGlyph(outline_, *glyph.shape, toDevice * Matrix{scale, 0, 0, scale, x + glyph.x, baseline}, canvas);
            } else if (glyph.system) {
                const double scale = height / kSystemGlyphHeight;
                appendSystemGlyph(outline_, *glyph.system, toDevice * Matrix{scale, 0, 0, scale, x + glyph.x, baseline},
                                  canvas);
            }
        }
        baseline += lineStep;
    }
    shapes.fill(canvas, outline_, FillRule::NonZero, field.color, transform);
}

void TextRenderer::drawBorder(ShapeRenderer& shapes, const Canvas& canvas, const Rect& bounds,
                              const Matrix& toDevice, const ColorTransform& transform)
{
    auto rectangle = [&](Outline& out, Rect r) {
        const Point corners[] = {toDevice.apply(point(r.xMin, r.yMin)), toDevice.apply(point(r.xMax, r.yMin)),
                                 toDevice.apply(point(r.xMax, r.yMax)), toDevice.apply(point(r.xMin, r.yMax))};
        for (int i = 0; i < 4; ++i)
            out.addLine(corners[i], corners[(i + 1) % 4]);
    };
    outline_.clear();
    rectangle(outline_, bounds);
    shapes.fill(canvas, outline_, FillRule::NonZero, Rgba{255, 255, 255, 255}, transform);
    const Rect inner{bounds.xMin + kBorderWidth, bounds.xMax - kBorderWidth, bounds.yMin + kBorderWidth,
                     bounds.yMax - kBorderWidth};
    if (inner.width() > 0 && inner.height() > 0)
        rectangle(outline_, inner);
    shapes.fill(canvas, outline_, FillRule::EvenOdd, Rgba{0, 0, 0, 255}, transform);
}

std::vector<TextRenderer::Line> TextRenderer::layOut(const EditTextDefinition& field, const Font* font)
{
    std::vector<std::vector<Measured>> paragraphs(1);
    for (char32_t c : field.text) {
        const bool hardBreak = c == U'\r' || c == U'\n';
        if (hardBreak && field.multiline) {
            paragraphs.emplace_back();
            continue;
        }
        paragraphs.back().push_back(measure(field.password ? U'*' : hardBreak ? U' ' : c, font, field.height));
    }
    const double available =
        static_cast<double>(field.bounds.width()) - 2 * kGutter - field.leftMargin - field.rightMargin;
    std::vector<Line> lines;
    for (const auto& paragraph : paragraphs) {
        std::size_t start = 0;
        do {
            const bool first = start == 0;
            const std::size_t end = field.wordWrap ? lineEnd(paragraph, start, available - (first ? field.indent : 0))
                                                   : paragraph.size();
            lines.push_back(makeLine(paragraph, start, end, first));
            start = end;
            while (start < paragraph.size() && paragraph[start].character == U' ')
                ++start;
        } while (start < paragraph.size());
    }
    return lines;
}

std::size_t TextRenderer::lineEnd(const std::vector<Measured>& glyphs, std::size_t start, double limit)
{
    double width = 0;
    std::optional<std::size_t> lastBreak;
    std::size_t end = start;
    for (; end < glyphs.size(); ++end) {
        const char32_t c = glyphs[end].character;
        // Spaces may hang past the edge; they are not drawn at a line's end.
        if (end > start && c != U' ' && width + glyphs[end].advance > limit)
            break;
        width += glyphs[end].advance;
        const bool nextBreakable = end + 1 < glyphs.size() && isBreakable(glyphs[end + 1].character);
        if (c == U' ' || isBreakable(c) || nextBreakable)
            lastBreak = end + 1;
    }
    if (end < glyphs.size() && lastBreak && *lastBreak > start)
        return *lastBreak;
    return end;
}

TextRenderer::Line TextRenderer::makeLine(const std::vector<Measured>& glyphs, std::size_t start, std::size_t end,
                                          bool paragraphStart)
{
    Line line;
    line.paragraphStart = paragraphStart;
    double x = 0;
    for (std::size_t i = start; i < end; ++i) {
        PlacedGlyph placed = glyphs[i].glyph;
        placed.x = x;
        line.glyphs.push_back(placed);
        x += glyphs[i].advance;
        if (glyphs[i].character != U' ')
            line.width = x;
    }
    return line;
}

TextRenderer::Measured TextRenderer::measure(char32_t character, const Font* font, double height)
{
    Measured measured;
    measured.character = character;
    if (font) {
        if (const auto index = font->indexOf(character)) {
            measured.glyph.shape = font->glyph(*index);
            measured.advance = font->advance(*index) * height / font->unitsPerEm();
            return measured;
        }
    }
    if (const SystemGlyph* glyph = systemGlyph(character)) {
        measured.glyph.system = glyph;
        measured.advance = glyph->advance * height / kSystemGlyphHeight;
    } else if (character == U' ') {
        measured.advance = height / 4;
    }
    return measured;
}

const SystemGlyph* TextRenderer::systemGlyph(char32_t character)
{
    if (!system_)
        return nullptr;
    auto found = systemGlyphs_.find(character);
    if (found == systemGlyphs_.end()) {
        SystemGlyph glyph;
        std::optional<SystemGlyph> entry;
        if (system_->glyph(character, kSystemGlyphHeight, glyph))
            entry = std::move(glyph);
        found = systemGlyphs_.emplace(character, std::move(entry)).first;
    }
    return found->second ? &*found->second : nullptr;
}

SystemFontMetrics TextRenderer::metrics(const Font* font, double height)
{
    if (font && font->hasLayout())
        return {font->ascent() * height / font->unitsPerEm(), font->descent() * height / font->unitsPerEm()};
    if (system_) {
        const SystemFontMetrics metrics = system_->metrics(kSystemGlyphHeight);
        return {metrics.ascent * height / kSystemGlyphHeight, metrics.descent * height / kSystemGlyphHeight};
    }
    return {height * 0.9, height * 0.22};
}

}
