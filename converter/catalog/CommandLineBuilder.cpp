#include "CommandLineBuilder.h"

#include <cstdarg>

int CCommandLineBuilder::Append(const wchar_t* text, Quoting quoting)
{
    if (!text || !*text)
        return -1;
    m_items.push_back({CString(text), quoting});
    return 0;
}

int CCommandLineBuilder::AppendFormat(const wchar_t* option, const wchar_t* format, ...)
{
    if (option)
        Append(option);
    if (format) {
        CString value;
        va_list args;
        va_start(args, format);
        value.FormatV(format, args);
        va_end(args);
        Append(value);
    }
    return 0;
}

CString CCommandLineBuilder::QuoteArgument(const CString& text)
{
    // Backslashes are literal except in front of a quote, where each pair stands for one
    // backslash; so they are doubled before an escaped quote and before the closing quote.
    CString out(L'"');
    int backslashes = 0;
    for (int i = 0; i < text.GetLength(); ++i) {
        const wchar_t ch = text[i];
        if (ch == L'\\') {
            ++backslashes;
            continue;
        }
        if (ch == L'"') {
            out += CString(L'\\', backslashes * 2 + 1);
        } else if (backslashes > 0) {
            out += CString(L'\\', backslashes);
        }
        out += ch;
        backslashes = 0;
    }
    out += CString(L'\\', backslashes * 2);
    out += L'"';
    return out;
}

namespace {

bool NeedsQuotes(const CString& text)
{
    return text.IsEmpty() || text.FindOneOf(L" \t\n\v\"") >= 0;
}

CString ProgramArgument(const CString& path)
{
    // The program name ends at the next quote and knows no escapes; a file name cannot hold one.
    CString name(path);
    name.Remove(L'"');
    return L"\"" + name + L"\"";
}

CString ItemText(const CCommandLineBuilder::Item& item)
{
    switch (item.quoting) {
    case CCommandLineBuilder::QUOTE_ALWAYS:
        return CCommandLineBuilder::QuoteArgument(item.text);
    case CCommandLineBuilder::QUOTE_PROGRAM:
        return ProgramArgument(item.text);
    case CCommandLineBuilder::VERBATIM:
        return item.text;
    case CCommandLineBuilder::QUOTE_AS_NEEDED:
        break;
    }
    return NeedsQuotes(item.text) ? CCommandLineBuilder::QuoteArgument(item.text) : item.text;
}

} // namespace

CString CCommandLineBuilder::GetText() const
{
    CString line;
    for (const Item& item : m_items) {
        if (!line.IsEmpty())
            line += L' ';
        line += ItemText(item);
    }
    return line;
}
