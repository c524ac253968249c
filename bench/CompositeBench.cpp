// How long the toy takes to draw a whole frame, and to answer a pointer move during a drag with
// a presented frame.

#include "BenchPlatform.h"
#include "Dorgo.h"
#include "DorgoMain.h"

#include <benchmark/benchmark.h>

namespace {

struct RunningToy {
    RunningToy()
        : application(platform)
    {
        InitializeState();
        form = application.CreateForm<TfrmMain>();
        frmMain = form.get();
        form->Show();
        form->paint();
    }
    ~RunningToy() { frmMain = nullptr; }

    void send(tk::Event::Type type, tk::Point client)
    {
        tk::Event e;
        e.type = type;
        e.window = form->window();
        e.pos = client;
        platform.pointer = platform.clientToScreen(client);
        form->handleEvent(e);
    }

    BenchPlatform platform;
    tk::Application application;
    std::unique_ptr<TfrmMain> form;
};

void FullComposite(benchmark::State& state)
{
    RunningToy toy;
    // The whole 575 x 405 window, as if the client area were the outer size.
    tk::Bitmap target(575, 405);
    for (auto _ : state) {
        toy.form->composite(target, target.rect());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(FullComposite)->Unit(benchmark::kMicrosecond);

void FullCompositeWithPicturesShown(benchmark::State& state)
{
    RunningToy toy;
    toy.form->btnDisplay->Click();
    tk::Bitmap target(575, 405);
    for (auto _ : state) {
        toy.form->composite(target, target.rect());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(FullCompositeWithPicturesShown)->Unit(benchmark::kMicrosecond);

// One pointer move during a drag: the drag-over handler places the fish, the changed area is
// drawn, and the frame is presented.
void DragMoveToPresentedFrame(benchmark::State& state)
{
    RunningToy toy;
    toy.send(tk::Event::Type::MouseDown, { 256, 136 });
    int x = 150, dx = 3;
    for (auto _ : state) {
        x += dx;
        if (x > 380 || x < 150)
            dx = -dx;
        toy.send(tk::Event::Type::MouseMove, { x, 230 });
        toy.form->paint();
    }
    benchmark::DoNotOptimize(toy.platform.presents);
}
BENCHMARK(DragMoveToPresentedFrame)->Unit(benchmark::kMicrosecond);

// The same over the creature: the open mouth is put on it every time.
void DragMoveOverTheCreature(benchmark::State& state)
{
    RunningToy toy;
    toy.send(tk::Event::Type::MouseDown, { 256, 136 });
    toy.send(tk::Event::Type::MouseMove, { 300, 200 });
    int x = 420, dx = 3;
    for (auto _ : state) {
        x += dx;
        if (x > 500 || x < 420)
            dx = -dx;
        toy.send(tk::Event::Type::MouseMove, { x, 200 });
        toy.form->paint();
    }
}
BENCHMARK(DragMoveOverTheCreature)->Unit(benchmark::kMicrosecond);

}

BENCHMARK_MAIN();
