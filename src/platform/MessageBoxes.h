// Modal message boxes.
#pragma once

#include <string>

namespace chw {

enum class MbIcon { None, Critical, Question, Exclamation, Information };
enum class MbButtons { Ok, OkCancel, YesNo };
enum class MbAnswer { Ok, Cancel, Yes, No };

class IMessageBoxes {
public:
    virtual ~IMessageBoxes() = default;
    virtual MbAnswer Show(const std::string& text, const std::string& title, MbIcon icon, MbButtons buttons) = 0;
};

}  // namespace chw
