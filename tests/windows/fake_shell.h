#pragma once
// A shell that owns a loaded program state and records what a window asks of it.

#include <string>
#include <vector>

#include "app_state.h"
#include "loading/file_loading.h"
#include "platform/progress.h"
#include "windows/shell.h"

namespace vantrel::test {

class Fake_Shell : public Shell {
public:
    // Opens path as the open command does, without windows.
    bool Open(const std::string& path) {
        Open_File_Host host;
        return Open_File(state, host, path).Ok();
    }

    App_State& State() override { return state; }
    bool Load_Sub_Set(std::int32_t, std::int32_t) override { return false; }
    void Refresh_Sub_Set() override {}
    void Reopen() override { ++reopens; }
    void Show_Selected_Data(std::int32_t what) override {
        ++redraws;
        shown_code = what;
    }
    void Open_Chart_Options(int) override {}
    void Series_Bins_Changed() override {}
    void Update_Viewer() override {}
    void Update_Data_View(std::int32_t, std::int32_t) override {}
    void Show_Trend() override {}
    void Stop_Animate() override {}
    bool Monitoring() const override { return false; }
    void Show_Message(const std::string& text) override { messages.push_back(text); }
    bool Is_Busy() const override { return busy; }
    bool Begin_Busy(Busy_Work) override { return !busy && (busy = true); }
    void End_Busy() override { busy = false; }
    Progress_Hooks& Hooks() override { return hooks; }

    App_State state;
    Progress_Hooks hooks;
    int reopens = 0, redraws = 0;
    std::int32_t shown_code = 0;
    std::vector<std::string> messages;
    bool busy = false;
};

}  // namespace vantrel::test
