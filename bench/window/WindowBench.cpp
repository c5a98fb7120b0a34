// One planner input in a full room, through the real calculation window offscreen: a return
// temperature slider move on the last of 12 heating entries of mixed series, from the slider's
// handler to the rebuilt room list.
#include "calcwindow/TForm2.h"
#include "core/productdata/ProductData.h"
#include "core/text/InterfaceTexts.h"
#include "platform/Services.h"

#include <QApplication>
#include <QListWidget>
#include <QScrollBar>

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <string>

namespace {

using namespace tepa;

// Services that answer nothing: a benchmark never shows a box or a dialog.
struct SilentPlatform : platform::Settings, platform::Messages, platform::FileDialogs, platform::Shell
{
    bool open() override { return true; }
    std::optional<QString> readString(const QString&) override { return std::nullopt; }
    bool writeString(const QString&, const QString&) override { return true; }
    void close() override {}
    void showMessage(const QString&) override {}
    void showInformation(const QString&) override {}
    bool askYesNo(const QString&) override { return true; }
    void showError(const QString&) override {}
    std::optional<QString> openFile(const platform::FileDialogRequest&) override { return std::nullopt; }
    std::optional<QString> saveFile(const platform::FileDialogRequest&) override { return std::nullopt; }
    bool open(const QString&) override { return false; }
};

struct Room
{
    SilentPlatform platform;
    Session session;
    QWidget mainWindow;
    std::unique_ptr<TForm2> window;
};

// The twelve entries: free convectors of every series, the fan series and the staged unit.
void fillRoom(Room& room)
{
    Session& s = room.session;
    s.ProgramDir = TEPA_SOURCE_DATA_DIR;
    if (auto texts = InterfaceTexts::load(s.ProgramDir))
        s.InterfaceTexts = std::move(texts).value();
    s.Project.HeatingFlowTemp = 75;
    s.Project.HeatingRoomTemp = 20;
    s.Project.HeatingDemand = 12000;
    s.Project.HeatingEntryCount = 12;

    const char* names[12] = {"W1",  "W2",  "W3",  "W4",     "WM",      "WX",
                             "WF1", "WF2", "WFs", "WFW-2L", "WFWL-2L", "DWF"};
    const double speeds[12] = {0, 0, 0, 0, 0, 0, 1000, 1000, 1120, 1120, 805, 1000};
    auto freeTypes = readAllTypes(s.ProgramDir, false);
    auto forcedTypes = readAllTypes(s.ProgramDir, true);
    for (int i = 0; i < 12; ++i) {
        const bool free = speeds[i] == 0;
        const auto& types = free ? freeTypes.value() : forcedTypes.value();
        for (const TypeRecord& type : types) {
            if (type.name.rfind(names[i], 0) != 0)
                continue;
            HeatingEntry& e = s.Project.HeatingEntries[static_cast<std::size_t>(i)];
            e.TypeName.setText(type.name.substr(0, 10));
            e.TypeText1.setText(type.dataLine);
            e.TypeText2.setText(type.fanLine);
            e.Length = std::stod(lengthFields(type.lengthLine).front());
            e.Height = 200;
            e.HeightFactor = 1;
            e.FanSpeed = speeds[i];
            e.Count = 1;
            e.FreeConvection = free;
            e.FreeConvectionB = free;
            e.InUse = true;
            e.ReturnTemp = 60;
            break;
        }
    }
    room.window = std::make_unique<TForm2>(
        s, platform::Services{room.platform, room.platform, room.platform, room.platform}, &room.mainWindow);
    for (int i = 1; i <= 12; ++i) {
        s.HeatingEntryIndex = i;
        room.window->update0(i);
        room.window->update_grenzen(i);
        room.window->update1(i);
    }
    room.window->Listenaufbau();
    room.window->connectOperatingPointInputs();
}

void BM_ReturnTemperatureSliderInAFullRoom(benchmark::State& state)
{
    Room room;
    fillRoom(room);
    QScrollBar* slider = room.window->findChild<QScrollBar*>(QStringLiteral("ScrollBar1"));
    int position = 40;
    for (auto _ : state) {
        position = position == 40 ? 60 : 40;
        slider->setValue(position); // runs scroll1: operating point, pressure drop, residual demand, list
    }
    benchmark::DoNotOptimize(room.session.Project.HeatingEntries[11].Output);
    // A move that ran no handler would measure nothing: the list must hold the twelve lines.
    if (room.window->findChild<QListWidget*>(QStringLiteral("ListBox2"))->count() < 12)
        state.SkipWithError("the room list was not rebuilt");
}
BENCHMARK(BM_ReturnTemperatureSliderInAFullRoom)->Unit(benchmark::kMicrosecond);

// The room run's recalculation of every entry after changed room data: limits, operating
// point and list for each of the twelve entries.
void BM_FullRoomRecalculation(benchmark::State& state)
{
    Room room;
    fillRoom(room);
    for (auto _ : state) {
        for (int i = 1; i <= 12; ++i) {
            room.window->update_grenzen(i);
            room.window->update1(i);
        }
        room.window->Listenaufbau();
    }
    benchmark::DoNotOptimize(room.session.Project.HeatingEntries[11].Output);
    if (room.window->findChild<QListWidget*>(QStringLiteral("ListBox2"))->count() < 12)
        state.SkipWithError("the room list was not rebuilt");
}
BENCHMARK(BM_FullRoomRecalculation)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
