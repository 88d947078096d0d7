// Any bytes as the high-score file: read as a stream reads an int, and written back, read the same.
#include "hud/BestScore.hpp"

#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const int score = parseBestScore(text);

    // Formatted extraction is the reference: 0 when nothing reads, the nearest limit past the range.
    int expected = 0;
    std::istringstream(text) >> expected;
    if (score != expected || parseBestScore(std::to_string(score)) != score)
        __builtin_trap();
    return 0;
}
