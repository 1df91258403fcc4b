#include "movie/tools/swfrender/SwfRender.h"

int main(int argc, char** argv)
{
    return movie::swfrender(std::vector<std::string>(argv + 1, argv + argc));
}
