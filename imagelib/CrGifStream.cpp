#include "CrGifStream.h"

#include "CrFile.h"

#include <algorithm>
#include <cstring>

// ---- CrGifReader ----

CrGifReader::CrGifReader(CrFile& file)
    : m_file(file), m_base(std::max<int32_t>(file.Tell(), 0)), m_pos(0), m_fill(0)
{
}

bool CrGifReader::Fill()
{
    m_base += int32_t(m_fill);
    m_pos = 0;
    m_fill = m_file.Read(m_buf, 1, sizeof m_buf);
    return m_fill > 0;
}

uint32_t CrGifReader::Read(void* dst, uint32_t n)
{
    uint8_t* out = static_cast<uint8_t*>(dst);
    uint32_t done = 0;
    while (done < n) {
        if (m_pos == m_fill && !Fill())
            break;
        uint32_t take = std::min(n - done, m_fill - m_pos);
        std::memcpy(out + done, m_buf + m_pos, take);
        m_pos += take;
        done += take;
    }
    return done;
}

bool CrGifReader::Skip(uint32_t n)
{
    while (n > 0) {
        uint32_t avail = m_fill - m_pos;
        if (avail == 0) {
            if (n >= sizeof m_buf)
                return Seek(Tell() + int32_t(n));
            if (!Fill())
                return false;
            continue;
        }
        uint32_t take = std::min(n, avail);
        m_pos += take;
        n -= take;
    }
    return true;
}

bool CrGifReader::Seek(int32_t position)
{
    if (position >= m_base && position <= m_base + int32_t(m_fill)) {
        m_pos = uint32_t(position - m_base);
        return true;
    }
    bool ok = m_file.Seek(position, 0);
    m_base = ok ? position : std::max<int32_t>(m_file.Tell(), 0);
    m_pos = m_fill = 0;
    return ok;
}

bool CrGifReader::ReadSubBlocks(std::vector<uint8_t>* out)
{
    for (;;) {
        int len = GetByte();
        if (len < 0)
            return false;
        if (len == 0)
            return true;
        if (!out) {
            if (!Skip(uint32_t(len)))
                return false;
            continue;
        }
        size_t at = out->size();
        out->resize(at + size_t(len));
        uint32_t got = Read(out->data() + at, uint32_t(len));
        if (got < uint32_t(len)) {
            out->resize(at + got);
            return false;
        }
    }
}

// ---- Blocks ----

namespace {

uint16_t LE16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }

struct PendingControl {
    bool present = false;
    uint8_t flags = 0;
    uint16_t delay = 0;
    uint8_t transByte = 0;
};

// The loop count is only what a looping block says: "NETSCAPE2.0" or "ANIMEXTS1.0", sub-block 1.
// The stored value counts repeats after the first play, 0 meaning for ever.
bool ReadApplication(CrGifReader& reader, CrGifStreamInfo& info)
{
    char id[11];
    if (reader.Read(id, 11) < 11)
        return false;
    if (std::memcmp(id, "NETSCAPE2.0", 11) != 0 && std::memcmp(id, "ANIMEXTS1.0", 11) != 0)
        return true;
    int len = reader.GetByte();
    if (len <= 0)
        return len == 0;
    uint8_t data[255];
    if (reader.Read(data, uint32_t(len)) < uint32_t(len))
        return false;
    if (len >= 3 && data[0] == 1) {
        uint16_t repeats = LE16(data + 1);
        info.loops = repeats == 0 ? 0 : repeats + 1;
    }
    return true;
}

// An extension after its 0x21 introducer. Blocks of an unexpected shape are passed over; false only
// when the stream ends inside the extension.
bool ReadExtension(CrGifReader& reader, CrGifStreamInfo& info, PendingControl& control)
{
    int label = reader.GetByte();
    if (label < 0)
        return false;
    int len = reader.GetByte();
    if (len < 0)
        return false;
    if (len == 0)
        return true;
    bool ok = true;
    if (label == 0xF9 && len == 4) {
        uint8_t b[4];
        ok = reader.Read(b, 4) == 4;
        if (ok) {
            control.present = true;
            control.flags = b[0];
            control.delay = LE16(b + 1);
            control.transByte = b[3];
        }
    } else if (label == 0xFE) {
        ok = reader.Read(info.comment, uint32_t(len)) == uint32_t(len);
        info.comment[ok ? len : 0] = 0;
        info.hasComment = ok;
    } else if (label == 0xFF && len == 11) {
        ok = ReadApplication(reader, info);
    } else {
        ok = reader.Skip(uint32_t(len));
    }
    return ok && reader.ReadSubBlocks(nullptr);
}

bool ScanImage(CrGifReader& reader, CrGifStreamInfo& info, PendingControl& control)
{
    uint8_t d[9];
    if (reader.Read(d, 9) < 9)
        return false;
    CrGifFrameRecord f;
    f.left = LE16(d);
    f.top = LE16(d + 2);
    f.width = LE16(d + 4);
    f.height = LE16(d + 6);
    f.interlaced = (d[8] & 0x40) != 0;
    f.localColors = (d[8] & 0x80) ? GifTableColors(d[8]) : 0;
    f.dataPos = reader.Tell();
    f.hasControl = control.present;
    f.controlFlags = control.flags;
    f.delay = control.delay;
    f.transByte = control.transByte;
    // An index that no colour of the frame's table has makes nothing transparent.
    if (f.transByte >= (f.localColors ? f.localColors : info.globalColors))
        f.controlFlags &= uint8_t(~1u);
    control = PendingControl(); // graphic control values belong to this one image
    if (info.frames.empty()) {
        if (info.screenWidth == 0)
            info.screenWidth = uint32_t(f.width);
        if (info.screenHeight == 0)
            info.screenHeight = uint32_t(f.height);
    }
    info.frames.push_back(f);
    return reader.Skip(3 * f.localColors) && reader.GetByte() >= 0 && reader.ReadSubBlocks(nullptr);
}

} // namespace

bool GifReadColorTable(CrGifReader& reader, CrRgbColor* table, uint32_t n)
{
    uint32_t bytes = 3 * n;
    uint32_t got = reader.Read(table, bytes);
    if (got < bytes)
        std::memset(reinterpret_cast<uint8_t*>(table) + got, 0, bytes - got);
    return got == bytes;
}

bool GifReadHeader(CrGifReader& reader, CrGifStreamInfo& info)
{
    uint8_t h[13];
    if (reader.Read(h, 13) < 13 || std::memcmp(h, "GIF8", 4) != 0)
        return false;
    info.screenWidth = LE16(h + 6);
    info.screenHeight = LE16(h + 8);
    info.flags = h[10];
    info.background = h[11];
    info.globalColors = (h[10] & 0x80) ? GifTableColors(h[10]) : 0;
    GifReadColorTable(reader, info.globalTable, info.globalColors);
    return true;
}

void GifScanBlocks(CrGifReader& reader, CrGifStreamInfo& info)
{
    PendingControl control;
    // After a stray byte everything up to and including the next zero byte is passed over.
    bool zeroSeen = true;
    for (;;) {
        int b = reader.GetByte();
        if (b < 0)
            return;
        if (!zeroSeen && b != 0)
            continue;
        if (b == 0x21) {
            if (!ReadExtension(reader, info, control))
                return;
        } else if (b == 0x2C) {
            if (!ScanImage(reader, info, control))
                return;
        } else if (b == 0x3B) {
            return;
        } else {
            zeroSeen = b == 0;
        }
    }
}
