#include "SwfButtonWriter.h"

namespace swf {

ButtonBuilder& ButtonBuilder::add(const ButtonRecord& record)
{
    records_.push_back(record);
    return *this;
}

ButtonBuilder& ButtonBuilder::on(std::uint16_t events, const Actions& actions)
{
    actions_.push_back({events, actions.encode()});
    return *this;
}

ButtonBuilder& ButtonBuilder::trackAsMenu(bool menu)
{
    trackAsMenu_ = menu;
    return *this;
}

void ButtonBuilder::writeRecords(BitWriter& out, int version) const
{
    for (const auto& record : records_) {
        std::uint8_t flags = record.states;
        if (version == 2 && record.filters)
            flags |= 0x10;
        if (version == 2 && record.blendMode)
            flags |= 0x20;
        out.u8(flags);
        out.u16(record.character);
        out.u16(record.depth);
        out.matrix(record.matrix);
        if (version != 2)
            continue;
        out.colorTransform(record.colorTransform, true);
        if (record.filters)
            out.append(*record.filters);
        if (record.blendMode)
            out.u8(*record.blendMode);
    }
    out.u8(0);
}

Bytes ButtonBuilder::encode1(std::uint16_t id) const
{
    BitWriter out;
    out.u16(id);
    writeRecords(out, 1);
    out.append(actions_.empty() ? Actions().encode() : actions_.front().actions);
    return out.take();
}

Bytes ButtonBuilder::encode2(std::uint16_t id) const
{
    BitWriter records;
    writeRecords(records, 2);
    BitWriter out;
    out.u16(id);
    out.u8(trackAsMenu_ ? 1 : 0);
    out.u16(actions_.empty() ? 0 : static_cast<std::uint16_t>(2 + records.bytes().size()));
    out.append(records.bytes());
    for (std::size_t i = 0; i < actions_.size(); ++i) {
        const bool last = i + 1 == actions_.size();
        out.u16(last ? 0 : static_cast<std::uint16_t>(4 + actions_[i].actions.size()));
        out.u16(actions_[i].events);
        out.append(actions_[i].actions);
    }
    return out.take();
}

Bytes sampleFilterList()
{
    BitWriter out;
    out.u8(2);
    out.u8(1);  // blur: x, y, passes
    out.u32(4 << 16);
    out.u32(4 << 16);
    out.u8(1 << 3);
    out.u8(6);  // colour matrix: twenty floats
    for (int i = 0; i < 20; ++i)
        out.u32(0);
    return out.take();
}

Bytes buttonColorTransform(std::uint16_t id, const ColorTransform& transform)
{
    BitWriter out;
    out.u16(id);
    out.colorTransform(transform, false);
    return out.take();
}

}
