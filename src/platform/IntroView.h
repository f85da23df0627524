// The start-up window (splash) as the start-up logic sees it.
#pragma once

#include "platform/Controls.h"

namespace chw {

enum class IntroCtl { Form, Label1, Label2, Label3, label4, ProgressBar1 };

// The splash only ever writes its texts: no flags, tooltips or focus.
class IIntroView : public virtual ICaptions<IntroCtl> {
public:
    virtual ITimer& MyTimer() = 0;
    virtual int ProgressMax() const = 0;
    virtual void SetProgressMax(int max) = 0;
    virtual int ProgressValue() const = 0;
    virtual void SetProgressValue(int value) = 0;
    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual void Repaint() = 0;
    virtual void Unload() = 0;
};

}  // namespace chw
