#include "movie/Records.h"

namespace movie {

Rect readRect(ByteReader& reader)
{
    reader.align();
    const int bits = static_cast<int>(reader.ubits(5));
    Rect rect;
    rect.xMin = reader.sbits(bits);
    rect.xMax = reader.sbits(bits);
    rect.yMin = reader.sbits(bits);
    rect.yMax = reader.sbits(bits);
    reader.align();
    return rect;
}

Matrix readMatrix(ByteReader& reader)
{
    reader.align();
    Matrix m;
    if (reader.ubits(1)) {
        const int bits = static_cast<int>(reader.ubits(5));
        m.a = reader.fbits(bits);
        m.d = reader.fbits(bits);
    }
    if (reader.ubits(1)) {
        const int bits = static_cast<int>(reader.ubits(5));
        m.b = reader.fbits(bits);
        m.c = reader.fbits(bits);
    }
    const int bits = static_cast<int>(reader.ubits(5));
    m.tx = reader.sbits(bits);
    m.ty = reader.sbits(bits);
    reader.align();
    return m;
}

ColorTransform readColorTransform(ByteReader& reader, bool withAlpha)
{
    reader.align();
    ColorTransform t;
    const bool hasAdd = reader.ubits(1) != 0;
    const bool hasMul = reader.ubits(1) != 0;
    const int bits = static_cast<int>(reader.ubits(4));
    if (hasMul) {
        t.mulR = reader.sbits(bits);
        t.mulG = reader.sbits(bits);
        t.mulB = reader.sbits(bits);
        if (withAlpha)
            t.mulA = reader.sbits(bits);
    }
    if (hasAdd) {
        t.addR = reader.sbits(bits);
        t.addG = reader.sbits(bits);
        t.addB = reader.sbits(bits);
        if (withAlpha)
            t.addA = reader.sbits(bits);
    }
    reader.align();
    return t;
}

Rgba readRgb(ByteReader& reader)
{
    Rgba c;
    c.r = reader.u8();
    c.g = reader.u8();
    c.b = reader.u8();
    return c;
}

Rgba readRgba(ByteReader& reader)
{
    Rgba c = readRgb(reader);
    c.a = reader.u8();
    return c;
}

}
