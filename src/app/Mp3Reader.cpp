#include "app/Mp3Reader.hpp"

#include <SFML/Audio/SoundFileFactory.hpp>
#include <SFML/System/InputStream.hpp>

#include <mpg123.h>

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <cstring>

namespace
{

// How many decoder calls in a row may deliver nothing before a read gives up;
// a broken stream must end the read, never spin on it.
constexpr int maxIdleDecodes = 16;

// Old libmpg123 versions need one global init; newer ones ignore it. A function
// static makes it happen once, and thread-safely.
bool ensureLibraryReady()
{
    static const bool ready = (mpg123_init() == MPG123_OK);
    return ready;
}

// The decoder's read callback, POSIX read() semantics over the sf::InputStream.
mpg123_ssize_t readStream(void* handle, void* buffer, size_t count)
{
    sf::InputStream& stream = *static_cast<sf::InputStream*>(handle);
    const sf::Int64 got = stream.read(buffer, static_cast<sf::Int64>(count));
    return got < 0 ? -1 : static_cast<mpg123_ssize_t>(got);
}

// The decoder's seek callback, POSIX lseek() semantics over the sf::InputStream.
off_t seekStream(void* handle, off_t offset, int whence)
{
    sf::InputStream& stream = *static_cast<sf::InputStream*>(handle);
    sf::Int64 base = 0;
    if (whence == SEEK_CUR)
        base = stream.tell();
    else if (whence == SEEK_END)
        base = stream.getSize();
    else if (whence != SEEK_SET)
        return -1;

    if (base < 0 || base + offset < 0)
        return -1;
    const sf::Int64 reached = stream.seek(base + offset);
    return reached < 0 ? -1 : static_cast<off_t>(reached);
}

// A decoder reading from the stream, quiet on stderr; null when any step fails.
// The caller owns the result and releases it with closeDecoder().
mpg123_handle* openDecoder(sf::InputStream& stream)
{
    if (!ensureLibraryReady())
        return nullptr;

    int error = MPG123_OK;
    mpg123_handle* handle = mpg123_new(nullptr, &error);
    if (!handle)
        return nullptr;

    if (mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0) != MPG123_OK ||
        mpg123_replace_reader_handle(handle, &readStream, &seekStream, nullptr) != MPG123_OK ||
        mpg123_open_handle(handle, &stream) != MPG123_OK)
    {
        mpg123_delete(handle);
        return nullptr;
    }
    return handle;
}

void closeDecoder(mpg123_handle* handle)
{
    if (handle)
    {
        mpg123_close(handle);
        mpg123_delete(handle);
    }
}

// An ID3v2 header: "ID3", a known major version and a size made of 7-bit bytes.
bool isId3v2Header(const unsigned char* bytes)
{
    return std::memcmp(bytes, "ID3", 3) == 0 && bytes[3] >= 2 && bytes[3] <= 4 && bytes[4] != 0xFF &&
           (bytes[6] | bytes[7] | bytes[8] | bytes[9]) < 0x80;
}

// An MPEG audio frame header: 11 sync bits, and no reserved version, layer,
// bitrate, sample rate or emphasis.
bool isFrameHeader(const unsigned char* bytes)
{
    const unsigned int version = (bytes[1] >> 3) & 0x3u;
    const unsigned int layer = (bytes[1] >> 1) & 0x3u;
    const unsigned int bitrate = (bytes[2] >> 4) & 0xFu;
    const unsigned int rate = (bytes[2] >> 2) & 0x3u;
    const unsigned int emphasis = bytes[3] & 0x3u;
    return bytes[0] == 0xFF && (bytes[1] & 0xE0) == 0xE0 && version != 1 && layer != 0 && bitrate != 15 &&
           rate != 3 && emphasis != 2;
}

} // namespace

Mp3Reader::~Mp3Reader()
{
    close();
}

bool Mp3Reader::check(sf::InputStream& stream)
{
    // Cheap magic test first: SFML asks every registered reader about every
    // file, and only data that starts like an MP3 deserves a decoder.
    unsigned char head[10] = {};
    bool looksLikeMp3 = false;
    if (stream.seek(0) == 0 && stream.read(head, sizeof(head)) == static_cast<sf::Int64>(sizeof(head)))
        looksLikeMp3 = isId3v2Header(head) || isFrameHeader(head);

    // Then the decoder must find a real frame and its format behind the tag or
    // header; it also checks that the next frame header follows where expected.
    bool decodable = false;
    if (looksLikeMp3 && stream.seek(0) == 0)
    {
        mpg123_handle* probe = openDecoder(stream);
        long rate = 0;
        int channels = 0;
        int encoding = 0;
        decodable = probe && mpg123_getformat(probe, &rate, &channels, &encoding) == MPG123_OK && rate > 0 &&
                    channels > 0;
        closeDecoder(probe);
    }

    stream.seek(0);
    return decodable;
}

bool Mp3Reader::open(sf::InputStream& stream, Info& info)
{
    close();
    if (stream.seek(0) != 0)
        return false;

    m_handle = openDecoder(stream);
    if (!m_handle)
        return false;

    // Pin the output to 16-bit signed at the stream's own rate and channels.
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(m_handle, &rate, &channels, &encoding) != MPG123_OK || rate <= 0 || channels <= 0 ||
        mpg123_format_none(m_handle) != MPG123_OK ||
        mpg123_format(m_handle, rate, channels, MPG123_ENC_SIGNED_16) != MPG123_OK)
    {
        close();
        return false;
    }

    // A full scan gives the exact length even without an Info/Xing frame, and
    // counts only the frames that are really there in a truncated file.
    if (mpg123_scan(m_handle) != MPG123_OK)
    {
        close();
        return false;
    }
    const off_t frames = mpg123_length(m_handle); // per channel
    if (frames <= 0 || mpg123_seek(m_handle, 0, SEEK_SET) < 0)
    {
        close();
        return false;
    }

    m_channelCount = static_cast<unsigned int>(channels);
    m_sampleCount = static_cast<sf::Uint64>(frames) * m_channelCount;
    m_position = 0;

    info.sampleCount = m_sampleCount;
    info.channelCount = m_channelCount;
    info.sampleRate = static_cast<unsigned int>(rate);
    return true;
}

void Mp3Reader::seek(sf::Uint64 sampleOffset)
{
    if (!m_handle)
        return;

    // The decoder seeks in frames of all channels; land on a frame start.
    const sf::Uint64 frame = std::min(sampleOffset, m_sampleCount) / m_channelCount;
    const off_t reached = mpg123_seek(m_handle, static_cast<off_t>(frame), SEEK_SET);
    m_position = reached < 0 ? m_sampleCount : frame * m_channelCount;
}

sf::Uint64 Mp3Reader::read(sf::Int16* samples, sf::Uint64 maxCount)
{
    if (!m_handle)
        return 0;

    assert(m_position <= m_sampleCount);
    const sf::Uint64 wanted = std::min(maxCount, m_sampleCount - m_position);
    unsigned char* out = reinterpret_cast<unsigned char*>(samples);
    const size_t wantedBytes = static_cast<size_t>(wanted) * sizeof(sf::Int16);

    // Decode until the request is met, the stream ends, or the decoder stops
    // making progress. An error may be one bad frame, so decoding goes on after
    // it, but a damaged stream must never keep the loop spinning.
    size_t filled = 0;
    int idleDecodes = 0;
    while (filled < wantedBytes && idleDecodes < maxIdleDecodes)
    {
        size_t done = 0;
        const int result = mpg123_read(m_handle, out + filled, wantedBytes - filled, &done);
        assert(done <= wantedBytes - filled);
        filled += done;
        idleDecodes = done > 0 ? 0 : idleDecodes + 1;
        if (result == MPG123_DONE || result == MPG123_NEED_MORE)
            break;
    }

    // Keep the announced length: SFML drops the whole buffer when a read comes
    // up short, so what could not be decoded is played as silence instead.
    filled -= filled % sizeof(sf::Int16);
    std::memset(out + filled, 0, wantedBytes - filled);

    m_position += wanted;
    return wanted;
}

void Mp3Reader::close()
{
    closeDecoder(m_handle);
    m_handle = nullptr;
    m_channelCount = 0;
    m_sampleCount = 0;
    m_position = 0;
}

void registerMp3Reader()
{
    // SFML would drop a duplicate anyway; the static keeps later calls from
    // reordering the reader list and makes concurrent first calls safe.
    static const bool registered = [] {
        sf::SoundFileFactory::registerReader<Mp3Reader>();
        return true;
    }();
    (void)registered;
}
