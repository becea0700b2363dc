// The polygon frame on 20,000 selected polygons of one group (a 200 x 100 grid
// of quads sharing their corners), with the group edited in polygon mode: each
// property applied with its undo record, a flip with the welded points kept in
// step, Delete and its Undo, and Detach. No world counts as open, so the views
// are never redrawn.
#include "EditorBenchWorld.h"
#include "editor_bench_main.h"

#include "core/Globals.h"
#include "core/WeldedPointsProcedures.h"
#include "ombrel.h"
#include "platform/prompts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr int kColumns = 200, kRows = 100;

// Every input box answered with one name.
class NamingPrompts : public platform::Prompts {
public:
    platform::MsgResult msgBox(const std::string&, platform::MsgButtons buttons, platform::MsgIcon,
                               const std::string&) override {
        return platform::defaultResult(buttons);
    }
    std::string inputBox(const std::string&, const std::string&, const std::string&) override { return "detached"; }
    std::string openFileName(const platform::FileRequest&) override { return {}; }
    std::string saveFileName(const platform::FileRequest&) override { return {}; }
    std::optional<int32_t> chooseColour(int32_t) override { return std::nullopt; }
    int showModal(QDialog&) override { return 0; }
    QAction* popupMenu(QMenu&, const QPoint&) override { return nullptr; }
};

// The grid's group selected, edited in polygon mode, with every polygon selected.
struct PolygonFrame {
    EditorWithWorld editor;
    int32_t group = 0;

    bool ok() { return editor.ok(); }

    PolygonFrame() {
        if (!editor.ok()) return;
        group = OMBREL_group_create("mesh");
        OMBREL_group_set_father_group(group, Globals::RootGrp);
        AddQuadGrid(group, kColumns, kRows, 0, 0, 0);
        EditPolygonsOf(editor.form(), group);
        selectAll();
    }

    void selectAll() {
        Globals::NumSelPols = 0;
        for (int32_t p = OMBREL_group_get_first_polygon(group); p; p = OMBREL_group_get_next_polygon(group, p))
            Globals::SelPols[++Globals::NumSelPols] = p;
        Globals::UpdateSelPolsRelatedPtsArray();
    }
};

#define TALVORA_NEED_FRAME(frame)                         \
    if (!(frame).ok()) {                                  \
        state.SkipWithError("the engine did not load");   \
        return;                                           \
    }

void BM_LightDiminution20000Polygons(benchmark::State& state) {
    PolygonFrame frame;
    TALVORA_NEED_FRAME(frame)
    Form1& f = frame.editor.form();
    int turn = 0;
    for (auto _ : state) {
        f.txtPolLightDimu->setText(++turn % 2 ? "25" : "75");
        f.txtPolLightDimu_LostFocus();
    }
    state.counters["polygons"] = Globals::NumSelPols;
    state.counters["last"] = OMBREL_polygon_get_light_diminution(Globals::SelPols[Globals::NumSelPols]);
}
BENCHMARK(BM_LightDiminution20000Polygons)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_Filter20000Polygons(benchmark::State& state) {
    PolygonFrame frame;
    TALVORA_NEED_FRAME(frame)
    Form1& f = frame.editor.form();
    int turn = 0;
    for (auto _ : state) {
        f.cmbPolFilter->setCurrentIndex(++turn % 2 ? 3 : 6);
        f.cmbPolFilter_Click();
    }
    state.counters["polygons"] = Globals::NumSelPols;
    state.counters["last"] = OMBREL_polygon_get_translucent(Globals::SelPols[Globals::NumSelPols]);
}
BENCHMARK(BM_Filter20000Polygons)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The box's click (its value changed, as a click changes it; the panel rests
// while no world is open) with the group's polygons validated afterwards.
void BM_RotatedFlag20000Polygons(benchmark::State& state) {
    PolygonFrame frame;
    TALVORA_NEED_FRAME(frame)
    Form1& f = frame.editor.form();
    for (auto _ : state) f.chkPolRotated->setChecked(!f.chkPolRotated->isChecked());
    state.counters["polygons"] = Globals::NumSelPols;
    state.counters["rotated"] = OMBREL_polygon_is_rotated(Globals::SelPols[Globals::NumSelPols]);
}
BENCHMARK(BM_RotatedFlag20000Polygons)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_Flip20000Polygons(benchmark::State& state) {
    PolygonFrame frame;
    TALVORA_NEED_FRAME(frame)
    Form1& f = frame.editor.form();
    for (auto _ : state) f.cmdFlipPol_Click();
    state.counters["polygons"] = Globals::NumSelPols;
    state.counters["welded"] = Globals::NumWeldedPts;
}
BENCHMARK(BM_Flip20000Polygons)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Arg 0 times the Delete, arg 1 its Undo; the other step runs untimed.
void BM_Delete20000Polygons(benchmark::State& state) {
    PolygonFrame frame;
    TALVORA_NEED_FRAME(frame)
    Form1& f = frame.editor.form();
    const bool timeUndo = state.range(0) == 1;
    for (auto _ : state) {
        if (timeUndo) state.PauseTiming();
        f.cmdDeletePol_Click();
        if (timeUndo) state.ResumeTiming();
        if (!timeUndo) state.PauseTiming();
        f.mnuUndo_Click();
        if (!timeUndo) state.ResumeTiming();
    }
    state.counters["polygons"] = Globals::NumSelPols;
}
BENCHMARK(BM_Delete20000Polygons)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The Detach itself; its Undo and a fresh selection run untimed.
void BM_Detach20000Polygons(benchmark::State& state) {
    PolygonFrame frame;
    TALVORA_NEED_FRAME(frame)
    NamingPrompts prompts;
    platform::Prompts* previous = platform::installPrompts(&prompts);
    Form1& f = frame.editor.form();
    for (auto _ : state) {
        f.cmdDetachPols_Click();
        state.PauseTiming();
        f.mnuUndo_Click();
        frame.selectAll();
        state.ResumeTiming();
    }
    platform::installPrompts(previous);
    state.counters["polygons"] = OMBREL_group_get_number_of_polygons(frame.group);
}
BENCHMARK(BM_Detach20000Polygons)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    // Nothing may wait for a user here.
    setenv("TALVORA_PROMPTS", "log", 0);
    return runEditorBenchmarks(argc, argv);
}
