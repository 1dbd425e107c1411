#include "program_menu.h"

#include <QMenuBar>

#include "control_ids.h"
#include "dialog_controls.h"

namespace tarnwick::qt {
namespace {

struct MenuItem {
  int id;
  const char* text;
};

void AddItems(QMenu* menu, std::initializer_list<MenuItem> entries, std::map<int, QAction*>& items,
              const std::function<void(int)>& onCommand) {
  for (const MenuItem& entry : entries) {
    QAction* action = menu->addAction(QString::fromUtf8(entry.text));
    action->setObjectName(IdName(entry.id));
    const int id = entry.id;
    QObject::connect(action, &QAction::triggered, menu, [onCommand, id] { onCommand(id); });
    items[id] = action;
  }
}

}  // namespace

QMenuBar* BuildProgramMenu(QWidget* parent, std::map<int, QAction*>& items,
                           const std::function<void(int)>& onCommand) {
  auto* bar = new QMenuBar(parent);
  // The window belongs to the program, not to a desktop-wide menu bar.
  bar->setNativeMenuBar(false);
  // The ampersands give Alt+F and Alt+H; they show as the underlined letter, not as text.
  AddItems(bar->addMenu(QStringLiteral("&File")),
           {{ids::kMenuSelectSource, "Select Source File"},
            {ids::kMenuSaveCurrent, "Save Current File"},
            {ids::kMenuSaveAll, "Save All  File"},
            {ids::kMenuExit, "Exit"}},
           items, onCommand);
  AddItems(bar->addMenu(QStringLiteral("&Help")),
           {{ids::kMenuAbout, "About Us"}, {ids::kMenuContents, "Contents"}}, items, onCommand);
  // Where picking files is offered the item is enabled, and with it the usual key.
  items[ids::kMenuSelectSource]->setShortcut(QKeySequence::Open);
  return bar;
}

}  // namespace tarnwick::qt
