// The Help menu: the document, the updater, and the About boxes.
#pragma once

#include "alarm/AlarmDisplay.h"
#include "platform/MainView.h"
#include "platform/Platform.h"

namespace chw {

class Help {
public:
    Help(Platform& platform, IMainView& view, AlarmDisplay& display) : p_(platform), view_(view), show_(display) {}

    void mnuContents_Click();
    void mnuAbout_Click();
    void mnuUpdate_Click();

private:
    Platform& p_;
    IMainView& view_;
    AlarmDisplay& show_;
};

}  // namespace chw
