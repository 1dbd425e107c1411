#include "program_menu.h"

#include <QMenuBar>

#include "control_ids.h"
#include "dialog_controls.h"
#include "layout_tables.h"

namespace tarnwick::qt {

QMenuBar* BuildProgramMenu(QWidget* parent, std::map<int, QAction*>& items,
                           const std::function<void(int)>& onCommand) {
  auto* bar = new QMenuBar(parent);
  // The window belongs to the program, not to a desktop-wide menu bar.
  bar->setNativeMenuBar(false);
  QMenu* menu = nullptr;
  for (const layouts::MenuEntry& entry : layouts::kProgramMenu) {
    switch (entry.kind) {
      case layouts::MenuEntryKind::kMenu:
        // The ampersands give Alt+F and Alt+H; they show as the underlined letter, not as text.
        menu = bar->addMenu(QString::fromUtf8(entry.text));
        break;
      case layouts::MenuEntryKind::kItem: {
        QAction* action = menu->addAction(QString::fromUtf8(entry.text));
        action->setObjectName(IdName(entry.id));
        const int id = entry.id;
        QObject::connect(action, &QAction::triggered, menu, [onCommand, id] { onCommand(id); });
        items[id] = action;
        break;
      }
      case layouts::MenuEntryKind::kEndMenu:
        menu = nullptr;
        break;
    }
  }
  // Where picking files is offered the item is enabled, and with it the usual key.
  items[ids::kMenuSelectSource]->setShortcut(QKeySequence::Open);
  return bar;
}

}  // namespace tarnwick::qt
