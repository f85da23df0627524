// The two windows in memory: every control's caption, flags and tooltip, as designed at creation.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "fakes/FakeTime.h"
#include "platform/IntroView.h"
#include "platform/MainView.h"

namespace chw::fakes {

struct ControlState {
    std::string caption;
    std::string toolTip;
    bool enabled = true;
    bool checked = false;
};

template <class Ctl>
class FakeForm : public virtual IForm<Ctl> {
public:
    std::map<Ctl, ControlState> controls;
    std::vector<Ctl> focusHistory;
    std::vector<std::string> statusHistory;  // only used by the main window

    std::string Caption(Ctl c) const override { return Get(c).caption; }
    void SetCaption(Ctl c, const std::string& text) override;
    bool Enabled(Ctl c) const override { return Get(c).enabled; }
    void SetEnabled(Ctl c, bool enabled) override { controls[c].enabled = enabled; }
    bool Checked(Ctl c) const override { return Get(c).checked; }
    void SetChecked(Ctl c, bool checked) override { controls[c].checked = checked; }
    std::string ToolTip(Ctl c) const { return Get(c).toolTip; }
    void SetToolTip(Ctl c, const std::string& text) override { controls[c].toolTip = text; }
    void SetFocus(Ctl c) override { focusHistory.push_back(c); }

protected:
    virtual void OnCaption(Ctl, const std::string&) {}
    const ControlState& Get(Ctl c) const {
        static const ControlState none;
        auto it = controls.find(c);
        return it == controls.end() ? none : it->second;
    }
};

template <class Ctl>
void FakeForm<Ctl>::SetCaption(Ctl c, const std::string& text) {
    controls[c].caption = text;
    OnCaption(c, text);
}

class FakeTrayIcon : public ITrayIcon {
public:
    bool shown = false;
    std::string toolTip;
    int iconNumber = 1;
    bool Shown() const override { return shown; }
    void SetShown(bool s) override { shown = s; }
    void SetToolTip(const std::string& text) override { toolTip = text; }
    void SetIconNumber(int n) override { iconNumber = n; }
    std::vector<std::string> balloons;  // "title|text"
    void ShowBalloon(const std::string& title, const std::string& text, BalloonKind kind) override {
        if (shown) balloons.push_back((kind == BalloonKind::Info ? "hint " : "") + title + "|" + text);
    }
};

class FakeMainView : public FakeForm<MainCtl>, public IMainView {
public:
    // The window as created: designed texts, both option items checked, the watch on at 1000 ms,
    // the calendar on the given day.
    FakeMainView(FakeScheduler& scheduler, const Date& today);

    FakeTimer timer;
    FakeTrayIcon tray;
    WindowHandle handle = 0x4242;
    bool visible = false;
    bool active = false;
    std::vector<ShowCommand> showStates;
    int repaints = 0;
    bool busy = false;
    std::vector<bool> busyHistory;
    bool locked = true;
    Date calendar;
    int popUps = 0;
    bool statusUrgent = false;

    std::string Status() const { return Caption(MainCtl::StatusBar1); }

    ITimer& MyTimer() override { return timer; }
    ITrayIcon& SysTray() override { return tray; }
    WindowHandle Handle() const override { return handle; }
    void Show() override { visible = true; }
    void Hide() override { visible = false; }
    void ShowState(ShowCommand command) override;
    void Activate() override { active = true; }
    void Repaint() override { ++repaints; }
    void SetBusyPointer(bool b) override {
        busy = b;
        busyHistory.push_back(b);
    }
    bool Locked() const override { return locked; }
    void SetLocked(bool l) override { locked = l; }
    void SetCalendarDate(const Date& day) override;
    Date CalendarDate() const { return calendar; }
    void PopUpOptionsMenu() override { ++popUps; }
    void SetStatusUrgent(bool urgent) override { statusUrgent = urgent; }
    int flashes = 0;  // times a flash was started
    bool flashing = false;
    void Flash(bool on) override {
        if (on) ++flashes;
        flashing = on;
    }
    std::vector<std::string> helpWindows;  // the documents the help window was asked to show
    bool helpWindowWorks = true;
    bool ShowHelpWindow(const std::string& path) override {
        helpWindows.push_back(path);
        return helpWindowWorks;
    }

protected:
    void OnCaption(MainCtl c, const std::string& text) override {
        if (c == MainCtl::StatusBar1) statusHistory.push_back(text);
    }
};

class FakeIntroView : public FakeForm<IntroCtl>, public IIntroView {
public:
    explicit FakeIntroView(FakeScheduler& scheduler);

    FakeTimer timer;
    int max = 100;
    int value = 0;
    bool visible = false;
    bool unloaded = false;
    int shows = 0;
    std::vector<int> repaintsAtValue;  // the bar's value at each repaint
    std::vector<std::int64_t> valueTimes;  // fake time (ms) at which each new value was set
    FakeScheduler& scheduler;

    ITimer& MyTimer() override { return timer; }
    int ProgressMax() const override { return max; }
    void SetProgressMax(int m) override { max = m; }
    int ProgressValue() const override { return value; }
    void SetProgressValue(int v) override {
        value = v;
        valueTimes.push_back(scheduler.nowMs);
    }
    void Show() override {
        visible = true;
        ++shows;
    }
    void Hide() override { visible = false; }
    void Repaint() override { repaintsAtValue.push_back(value); }
    void Unload() override {
        visible = false;
        unloaded = true;
    }
};

}  // namespace chw::fakes
