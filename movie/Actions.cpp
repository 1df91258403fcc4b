#include "movie/Actions.h"

#include "movie/ByteReader.h"

namespace movie {

namespace {

enum : std::uint8_t {
    kEnd = 0x00,
    kNextFrame = 0x04,
    kPreviousFrame = 0x05,
    kPlay = 0x06,
    kStop = 0x07,
    kStopSounds = 0x09,
    kGotoFrame = 0x81,
    kGotoLabel = 0x8C,
};

}

std::vector<Action> parseActions(std::span<const std::uint8_t> body)
{
    std::vector<Action> actions;
    ByteReader reader(body);
    while (!reader.atEnd()) {
        const std::uint8_t code = reader.u8();
        if (code == kEnd)
            break;
        std::span<const std::uint8_t> payload;
        if (code >= 0x80)
            payload = reader.bytes(reader.u16());
        if (reader.failed())
            break;
        ByteReader args(payload);
        switch (code) {
        case kNextFrame: actions.push_back({ActionKind::NextFrame}); break;
        case kPreviousFrame: actions.push_back({ActionKind::PreviousFrame}); break;
        case kPlay: actions.push_back({ActionKind::Play}); break;
        case kStop: actions.push_back({ActionKind::Stop}); break;
        case kStopSounds: actions.push_back({ActionKind::StopSounds}); break;
        case kGotoFrame: actions.push_back({ActionKind::GotoFrame, args.u16()}); break;
        case kGotoLabel: actions.push_back({ActionKind::GotoLabel, 0, args.string()}); break;
        default: break;
        }
    }
    return actions;
}

}
