#pragma once

#include <vector>

#include "SwfWriter.h"

namespace demo {

// A short tune as MP3 stream sound: the stream head body and one block body per
// movie frame (empty where a frame has no sound), for a movie at `fps`.
struct StreamSound {
    swf::Bytes head;
    std::vector<swf::Bytes> blocks;
};

StreamSound MakeMelody(int fps);

}
