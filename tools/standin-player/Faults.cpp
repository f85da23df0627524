#include "Faults.h"

#include <cwctype>

namespace standin {

namespace {

std::wstring Trim(const std::wstring& s) {
    size_t b = 0, e = s.size();
    while (b < e && std::iswspace(s[b])) ++b;
    while (e > b && std::iswspace(s[e - 1])) --e;
    return s.substr(b, e - b);
}

std::wstring Lower(std::wstring s) {
    for (auto& c : s) c = static_cast<wchar_t>(std::towlower(c));
    return s;
}

bool IsOff(const std::wstring& v) {
    return v == L"0" || v == L"no" || v == L"false" || v == L"off";
}

unsigned ToUnsigned(const std::wstring& v) {
    unsigned long n = 0;
    for (wchar_t c : v) {
        if (c < L'0' || c > L'9') break;
        n = n * 10 + static_cast<unsigned long>(c - L'0');
        if (n > 3600000UL) return 3600000U;  // an hour is plenty; keeps a typo from hanging a run
    }
    return static_cast<unsigned>(n);
}

}  // namespace

void Faults::Apply(std::wstring word) {
    word = Lower(Trim(word));
    while (!word.empty() && (word[0] == L'-' || word[0] == L'/')) word.erase(0, 1);
    if (word.empty()) return;

    std::wstring key = word, value;
    if (auto eq = word.find(L'='); eq != std::wstring::npos) {
        key = Trim(word.substr(0, eq));
        value = Trim(word.substr(eq + 1));
    }
    const bool on = !IsOff(value);

    if (key == L"refuse-close") refuseClose = on;
    else if (key == L"hang") hang = on;
    else if (key == L"hang-any") hangAny = on;
    else if (key == L"late-window") lateWindowMs = ToUnsigned(value);
    else if (key == L"start-playing") initialState = on ? 1 : 0;
    else if (key == L"start-paused") initialState = on ? 3 : 0;
    else if (key == L"start-stopped") initialState = 0;
    else if (key == L"ignore-play") ignorePlay = on;
    else if (key == L"hang-on-play") hangOnPlay = on;
    else if (key == L"hang-at-start") hangAtStart = on;
    else if (key == L"playlist") playlist = ToUnsigned(value);
}

void Faults::ApplyList(const std::wstring& text) {
    std::wstring word;
    for (wchar_t c : text) {
        if (c == L',' || c == L';' || c == L'\r' || c == L'\n' || std::iswspace(c)) {
            Apply(word);
            word.clear();
        } else {
            word += c;
        }
    }
    Apply(word);
}

void Faults::ApplyIni(const std::wstring& text) {
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find(L'\n', pos);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = Trim(text.substr(pos, end - pos));
        if (auto c = line.find_first_of(L";#"); c != std::wstring::npos) line = Trim(line.substr(0, c));
        if (!line.empty() && line[0] != L'[') Apply(line);
        pos = end + 1;
    }
}

std::wstring Faults::Describe() const {
    std::wstring s;
    if (refuseClose) s += L" refuse-close";
    if (hang) s += L" hang";
    if (hangAny) s += L" hang-any";
    if (lateWindowMs) s += L" late-window=" + std::to_wstring(lateWindowMs);
    if (initialState == 1) s += L" start-playing";
    if (initialState == 3) s += L" start-paused";
    if (ignorePlay) s += L" ignore-play";
    if (hangOnPlay) s += L" hang-on-play";
    if (hangAtStart) s += L" hang-at-start";
    if (playlist != 3) s += L" playlist=" + std::to_wstring(playlist);
    return s.empty() ? L" none" : s;
}

}  // namespace standin
