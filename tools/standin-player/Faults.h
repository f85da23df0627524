// Fault switches of the stand-in player, so tests can make it misbehave the way a real player might.
#pragma once

#include <string>

namespace standin {

struct Faults {
    bool refuseClose = false;   // ignore the close command (40001)
    bool hang = false;          // stop answering at the first status query
    bool hangAny = false;       // stop answering at the first WM_USER or WM_COMMAND of any kind
    unsigned lateWindowMs = 0;  // create the window only this long after start
    int initialState = 0;       // 0 stopped, 1 playing, 3 paused
    bool ignorePlay = false;    // take Play and stay as it was (a player with nothing it can play)
    bool hangOnPlay = false;    // stop answering when Play arrives
    bool hangAtStart = false;   // stop answering as soon as the window is shown
    unsigned playlist = 3;      // the playlist's length, as answered to its query

    // One switch: "refuse-close", "--hang", "/late-window=500", "start-playing", "hang=0", ...
    // Unknown words are ignored so an old player copy does not choke on a newer test's switch.
    void Apply(std::wstring word);
    // Several switches separated by blanks, commas, semicolons or line breaks.
    void ApplyList(const std::wstring& text);
    // The lines of an ini file; ';' and '#' start comments, "[section]" lines are skipped.
    void ApplyIni(const std::wstring& text);

    std::wstring Describe() const;
};

}  // namespace standin
