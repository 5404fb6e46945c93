#include "windows/animator.h"

#include <QAction>
#include <QScrollBar>
#include <QTimer>

#include "app_state.h"
#include "charts/chart_interaction.h"
#include "windows/main_menus.h"
#include "windows/shell.h"
#include "windows/sub_set_window.h"
#include "windows/whole_set_window.h"

namespace vantrel {

namespace {

const std::array<QAction*, 2>& Items(const Main_Menus& m, Animator::Kind kind) {
    switch (kind) {
        case Animator::Kind::k_contour: return m.Animate_Contour;
        case Animator::Kind::k_profile: return m.Animate_Profile;
        default: return m.Animate_Series;
    }
}

constexpr Animator::Kind k_kinds[] = {Animator::Kind::k_contour, Animator::Kind::k_profile, Animator::Kind::k_series};

}  // namespace

Animator::Animator(Shell& shell, const Main_Menus& menus, Whole_Set_Window& whole, Sub_Set_Window& sub,
                   QObject* parent)
    : QObject(parent), shell_(shell), menus_(menus), whole_(whole), sub_(sub), timer_(new QTimer(this)) {
    timer_->setInterval(k_frame_ms);
    connect(timer_, &QTimer::timeout, this, &Animator::Frame);
    for (Kind kind : k_kinds) {
        for (int i = 0; i < 2; ++i)
            connect(Items(menus_, kind)[static_cast<std::size_t>(i)], &QAction::triggered, this,
                    [this, kind, i] { Click(kind, i); });
    }
}

void Animator::Update_Enabling(bool loaded) {
    for (Kind kind : k_kinds) {
        Items(menus_, kind)[0]->setEnabled(loaded);
        Items(menus_, kind)[1]->setEnabled(loaded && running_ != kind);
    }
}

void Animator::Click(Kind kind, int index) {
    if (!shell_.State().ds.File_Loaded) {
        Items(menus_, kind)[0]->setChecked(false);
        return;
    }
    if (index == 1) {
        Rewind(kind);
        return;
    }
    // "&Go" checks itself when clicked: checked now means start, unchecked means stop.
    if (Items(menus_, kind)[0]->isChecked()) {
        Start(kind);
    } else if (running_ == kind) {
        Finish();
    }
}

void Animator::Start(Kind kind) {
    if (running_ != Kind::k_none && running_ != kind) Items(menus_, running_)[0]->setChecked(false);
    running_ = kind;
    Items(menus_, kind)[1]->setEnabled(false);
    Data_Set& ds = shell_.State().ds;
    switch (kind) {
        case Kind::k_contour: {
            const QScrollBar& bar = whole_.HScroll1();
            const Contour_Steps steps = Contour_Animation_Steps(bar.value(), bar.pageStep());
            next_value_ = steps.first;
            step_ = steps.step;
            break;
        }
        case Kind::k_profile:
            if (ds.Cursor_Ens >= ds.Last_Ens) sub_.Set_Cursor(ds.First_Ens);
            Start_Profile_Animation(ds);
            break;
        case Kind::k_series: frames_left_ = ds.Last_Bin - ds.First_Bin + 1; break;
        case Kind::k_none: break;
    }
    timer_->start();
}

void Animator::Frame() {
    if (running_ == Kind::k_none) return;
    App_State& state = shell_.State();
    if (!state.ds.File_Loaded || !Items(menus_, running_)[0]->isChecked()) {
        Finish();
        return;
    }
    // A load in progress refills the arrays: wait for it.
    if (shell_.Is_Busy()) return;
    bool more = false;
    switch (running_) {
        case Kind::k_contour: {
            QScrollBar& bar = whole_.HScroll1();
            // The last frame stops on the bar's end, so the file's last ensembles are shown.
            const bool past = next_value_ > bar.maximum();
            if (past && bar.value() >= bar.maximum()) break;
            bar.setValue(past ? bar.maximum() : next_value_);
            next_value_ += step_;
            more = !past;
            break;
        }
        case Kind::k_profile: more = state.ds.Cursor_Ens < state.ds.Last_Ens && sub_.Move_Cursor(1); break;
        case Kind::k_series:
            more = --frames_left_ >= 0 && sub_.Move_Series(1);
            if (more && on_series_moved) on_series_moved();
            break;
        case Kind::k_none: break;
    }
    if (!more) Finish();
}

void Animator::Finish() {
    timer_->stop();
    if (running_ == Kind::k_none) return;
    Items(menus_, running_)[0]->setChecked(false);
    Items(menus_, running_)[1]->setEnabled(shell_.State().ds.File_Loaded);
    running_ = Kind::k_none;
}

void Animator::Rewind(Kind kind) {
    switch (kind) {
        case Kind::k_contour: whole_.HScroll1().setValue(whole_.HScroll1().minimum()); break;
        case Kind::k_profile: sub_.Set_Cursor(shell_.State().ds.First_Ens); break;
        case Kind::k_series:
            while (sub_.Move_Series(-1)) {
            }
            break;
        case Kind::k_none: break;
    }
}

}  // namespace vantrel
