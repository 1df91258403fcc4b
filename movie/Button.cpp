#include "movie/Button.h"

#include "movie/ByteReader.h"
#include "movie/Records.h"

namespace movie {

namespace {

enum : std::uint8_t {
    kStateBits = 0x0F,
    kHasFilterList = 0x10,
    kHasBlendMode = 0x20,
};

// Filters are not drawn; their sizes only matter to reach what follows them.
bool skipFilter(ByteReader& reader)
{
    switch (reader.u8()) {
    case 0: reader.skip(23); break;  // drop shadow
    case 1: reader.skip(9); break;   // blur
    case 2: reader.skip(15); break;  // glow
    case 3: reader.skip(27); break;  // bevel
    case 4:                          // gradient glow
    case 7: {                        // gradient bevel
        const std::size_t colors = reader.u8();
        reader.skip(colors * 5 + 19);
        break;
    }
    case 5: {  // convolution
        const std::size_t columns = reader.u8();
        const std::size_t rows = reader.u8();
        reader.skip(8 + columns * rows * 4 + 5);
        break;
    }
    case 6: reader.skip(80); break;  // colour matrix
    default: return false;
    }
    return !reader.failed();
}

bool skipFilterList(ByteReader& reader)
{
    const int count = reader.u8();
    for (int i = 0; i < count; ++i)
        if (!skipFilter(reader))
            return false;
    return !reader.failed();
}

// Reads records up to the end flag into the state timelines.
void readRecords(ByteReader& reader, int version, ButtonDefinition& button, std::size_t& commandsLeft)
{
    while (!reader.atEnd()) {
        const std::uint8_t flags = reader.u8();
        if (flags == 0)
            return;
        DisplayCommand command;
        command.characterId = reader.u16();
        command.depth = reader.u16();
        command.matrix = readMatrix(reader);
        if (version == 2) {
            command.colorTransform = readColorTransform(reader, true);
            if ((flags & kHasFilterList) && !skipFilterList(reader))
                return;
            if (flags & kHasBlendMode)
                reader.u8();
        }
        if (reader.failed())
            return;
        for (std::size_t state = 0; state < button.states.size(); ++state) {
            if (!(flags & (1u << state)) || commandsLeft == 0)
                continue;
            --commandsLeft;
            button.states[state].frames.front().commands.push_back(command);
        }
    }
}

// BUTTONCONDACTIONs: each starts with the offset to the next one, 0 on the last.
void readConditionActions(std::span<const std::uint8_t> data, ButtonDefinition& button)
{
    while (data.size() >= 4) {
        ByteReader reader(data);
        const std::size_t next = reader.u16();
        const std::uint16_t conditions = reader.u16();
        const bool last = next == 0 || next > data.size() || next < 4;
        const std::size_t end = last ? data.size() : next;
        button.actions.push_back({conditions, data.subspan(4, end - 4)});
        if (last)
            return;
        data = data.subspan(next);
    }
}

}

ButtonDefinition parseButton(std::span<const std::uint8_t> body, int version, std::size_t& commandsLeft)
{
    ButtonDefinition button;
    for (auto& state : button.states) {
        state.frameCount = 1;
        state.frames.resize(1);
    }
    ByteReader reader(body);
    std::size_t actionsAt = 0;
    if (version == 2) {
        button.trackAsMenu = reader.u8() & 1;
        const std::size_t offsetField = reader.position();
        const std::size_t offset = reader.u16();
        if (offset != 0)
            actionsAt = offsetField + offset;
    }
    readRecords(reader, version, button, commandsLeft);
    if (version != 2) {
        if (!reader.failed() && !reader.atEnd())
            button.actions.push_back({kOverDownToOverUp, reader.rest()});
    } else if (actionsAt != 0 && actionsAt < body.size()) {
        readConditionActions(body.subspan(actionsAt), button);
    }
    return button;
}

void applyButtonColorTransform(ButtonDefinition& button, const ColorTransform& transform)
{
    for (auto& state : button.states)
        for (auto& command : state.frames.front().commands)
            command.colorTransform = transform;
}

}
