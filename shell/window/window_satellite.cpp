// Tfmain's View > Satellite: the satellite in three dimensions, docked at the window's right. It is
// made when first shown; it follows the channels itself, and the run and the simulation from here.
#include <QAction>
#include <QDockWidget>
#include <QMenu>

#include "Ucompiler.h"
#include "satellite_view.h"
#include "simulation.h"
#include "simulation_control.h"

namespace {

constexpr int DOCK_WIDTH = 360;

}  // namespace

void Tfmain::build_satellite_action(QMenu* menu) {
    act_satellite = menu->addAction("&Satellite");
    act_satellite->setObjectName("act_satellite");
    act_satellite->setCheckable(true);
    connect(act_satellite, &QAction::triggered, this, &Tfmain::show_satellite);
}

void Tfmain::show_satellite(bool shown) {
    auto* dock = findChild<QDockWidget*>("satellite_dock");
    if (dock == nullptr) {
        if (!shown) return;
        dock = new QDockWidget("Satellite", this);
        dock->setObjectName("satellite_dock");
        auto* view = new SatelliteView(dock);
        dock->setWidget(view);
        // Where it was at the last close; else at the right, taking its width from the editor
        // and the panels, which get it back when it closes.
        if (!restoreDockWidget(dock)) {
            addDockWidget(Qt::RightDockWidgetArea, dock);
            resizeDocks({dock}, {DOCK_WIDTH}, Qt::Horizontal);
        }
        watch_dock(dock);
        // The satellite moves only while a run goes on with a simulation; between runs and while
        // paused the view waits for a slider, a coil or a new choice.
        const auto follow_run = [this, view] {
            const RunControl::State s = run_control->state();
            view->set_animating(simulation.on && (s == RunControl::State::Running ||
                                                  s == RunControl::State::Waiting));
        };
        connect(run_control, &RunControl::stateChanged, view, follow_run);
        connect(simulation_, &SimulationControl::status, view, [view, follow_run] {
            follow_run();
            view->refresh();
        });
        follow_run();
        // The dock's own close button unticks View > Satellite.
        connect(dock->toggleViewAction(), &QAction::toggled, act_satellite, &QAction::setChecked);
    }
    if (shown) {
        dock->show();
        dock->raise();
    } else {
        dock->close();
    }
    act_satellite->setChecked(shown);
}
