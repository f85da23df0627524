#include "tray/TrayPicture.h"

#include <cctype>

#include "alarm/AlarmTexts.h"

namespace chw {

namespace {

std::string UpperTail(const std::string& text, std::size_t count) {
    std::string tail = text.size() > count ? text.substr(text.size() - count) : text;
    for (char& c : tail) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return tail;
}

// Every alarm summary ends in "SET" or "SET."; the lit bulb tells the user an alarm is set up.
bool StatusEndsInSet(const std::string& status) {
    return UpperTail(status, 4) == "SET." || UpperTail(status, 3) == "SET";
}

}  // namespace

std::string TrayStateWords(const TrayPictureInput& in) {
    if (in.setCaption == alarm::kSnooze) return tray::kStateRinging;
    if (!in.armedMark.empty()) return tray::kStateArmed;
    if (!in.alarmTime.empty() && !in.alarmDate.empty()) return tray::kStateChosen;
    return tray::kStateNotSet;
}

TrayPicture ChooseTrayPicture(const TrayPictureInput& in) {
    TrayPicture out;
    out.iconNumber = in.currentIcon;

    const bool chosenNotArmed = in.setCaption == alarm::kTurnOn && !in.resetEnabled && !in.alarmTime.empty() &&
                                !in.alarmDate.empty();
    if (chosenNotArmed) {
        out.toolTip = tray::kTipNotActivated;
        out.iconNumber = tray::kLitBulb;
    } else {
        // The options tooltip alone would not say what the alarm does.
        out.toolTip = std::string(tray::kTipOptions) + tray::kTipJoin + TrayStateWords(in);
        // Each rule overrides the one before it.
        if (in.setCaption != alarm::kTurnOff) out.iconNumber = tray::kUnlitBulb;
        if (in.setCaption == alarm::kTurnOff && in.armedMark == alarm::kArmedMark) out.iconNumber = tray::kWatch;
        if (StatusEndsInSet(in.statusText)) out.iconNumber = tray::kLitBulb;
    }

    // An armed alarm whose button is locked is being watched, whatever the above said.
    if (!in.armedMark.empty() && !in.setEnabled) {
        out.toolTip = tray::kTipActivated;
        out.iconNumber = tray::kWatch;
    }
    return out;
}

}  // namespace chw
