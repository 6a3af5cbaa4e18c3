#pragma once
// The converter's names and version, and where its maker can be reached.
constexpr wchar_t kMakerName[] = L"Brenmoor";
constexpr wchar_t kProgramName[] = L"Talvena";
constexpr wchar_t kProgramVersion[] = L"3.0.3";
constexpr wchar_t kSupportAddress[] = L"support@brenmoor.example";
