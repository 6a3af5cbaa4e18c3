#include "UpdateRules.h"

#include <climits>
#include <ctime>

#include <pugixml.hpp>

namespace {

bool LocalDay(int64_t seconds, std::tm& day)
{
    const std::time_t t = static_cast<std::time_t>(seconds);
#ifdef _WIN32
    return localtime_s(&day, &t) == 0;
#else
    return localtime_r(&t, &day) != nullptr;
#endif
}

bool SameLocalDay(int64_t a, int64_t b)
{
    std::tm da{}, db{};
    if (!LocalDay(a, da) || !LocalDay(b, db))
        return false;
    return da.tm_year == db.tm_year && da.tm_mon == db.tm_mon && da.tm_mday == db.tm_mday;
}

// The leading decimal number of a field (0 when it has none), held to the range of an int.
int LeadingNumber(const CString& field)
{
    long long value = 0;
    for (int i = 0; i < field.GetLength() && field[i] >= L'0' && field[i] <= L'9'; ++i) {
        value = value * 10 + (field[i] - L'0');
        if (value > INT_MAX)
            return INT_MAX;
    }
    return static_cast<int>(value);
}

CString NodeText(const pugi::xml_node& node) { return CString::FromUtf8(node.text().get()); }

} // namespace

bool IsUpdateCheckDue(int64_t lastCheck, int64_t now, int intervalDays)
{
    if (intervalDays < 0)
        return false;
    if (intervalDays == 0)
        return true;
    if (intervalDays == 1)
        return !SameLocalDay(lastCheck, now);
    return (now - lastCheck) / 86400 >= intervalDays;
}

int ParseVersion(const wchar_t* text, int fields[3])
{
    CString version(text);
    version.Trim();
    version.Remove(L' ');
    version.Remove(L'\t');
    int parsed[3] = {};
    int start = 0;
    for (int i = 0; i < 3; ++i) {
        if (start > version.GetLength())
            return -1;
        int end = version.Find(L'.', start);
        if (end < 0)
            end = version.GetLength();
        const CString field = version.Mid(start, end - start);
        if (field.IsEmpty())
            return -1;
        parsed[i] = LeadingNumber(field);
        start = end + 1;
    }
    for (int i = 0; i < 3; ++i)
        fields[i] = parsed[i];
    return 0;
}

int CompareVersions(const wchar_t* a, const wchar_t* b)
{
    int va[3] = {}, vb[3] = {};
    ParseVersion(a, va);
    ParseVersion(b, vb);
    for (int i = 0; i < 3; ++i) {
        if (va[i] != vb[i])
            return va[i] > vb[i] ? 1 : -1;
    }
    return 0;
}

bool IsWebAddress(const CString& url)
{
    CString scheme = url.SpanExcluding(L":");
    if (scheme.CompareNoCase(L"http") != 0 && scheme.CompareNoCase(L"https") != 0)
        return false;
    if (url.Mid(scheme.GetLength(), 3) != L"://" || url.GetLength() <= scheme.GetLength() + 3)
        return false;
    const wchar_t host = url[scheme.GetLength() + 3];
    if (host == L'/' || host == L'\\')
        return false;
    for (int i = 0; i < url.GetLength(); ++i) {
        if (url[i] <= L' ' || url[i] == 0x7F || url[i] == L'"')
            return false;
    }
    return true;
}

int ParseUpdateXml(const CString& xml, CUpdateDescriptor& descriptor)
{
    pugi::xml_document document;
    const std::wstring& text = xml.str();
    if (!document.load_buffer(text.data(), text.size() * sizeof(wchar_t), pugi::parse_default, pugi::encoding_wchar))
        return -1;
    const pugi::xml_node application = document.child("Updates").child("Application");
    if (!application)
        return -1;
    const CString version = CString::FromUtf8(application.attribute("Version").value());
    if (version.IsEmpty())
        return -1;
    descriptor.version = version;
    descriptor.level = application.attribute("Level").as_int(descriptor.level);
    const pugi::xml_node url = application.child("URL");
    if (!url)
        return -1;
    descriptor.downloadUrl = NodeText(url);
    descriptor.downloadUrl.Trim();
    if (!IsWebAddress(descriptor.downloadUrl))
        return -1;
    if (const pugi::xml_node description = application.child("Description")) {
        descriptor.description = NodeText(description);
        descriptor.description.Replace(L"\\n", L"\r\n");
    }
    return 0;
}
