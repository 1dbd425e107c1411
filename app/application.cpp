#include "application.h"

#include <algorithm>
#include <cctype>

#include "app_texts.h"
#include "main_window.h"
#include "work_files.h"

namespace tarnwick {
namespace {

constexpr char kProgId[] = "ZazoRavazu.Application";
constexpr char kClassId[] = "{012EA5A6-7234-4F60-B854-A566D21702EB}";
constexpr char kTypeLibraryId[] = "{D1E3882F-C58B-44C5-99EF-3F3ABB5E0A67}";

std::string ClassKey() { return std::string("CLSID\\") + kClassId; }
std::string TypeLibraryKey() { return std::string("TypeLib\\") + kTypeLibraryId; }

bool IsSwitch(const std::string& argument, const char* name) {
  if (argument.size() < 2 || (argument[0] != '/' && argument[0] != '-')) return false;
  const std::string given = argument.substr(1);
  const std::string wanted = name;
  return std::equal(given.begin(), given.end(), wanted.begin(), wanted.end(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
  });
}

}  // namespace

AutomationSwitches ParseAutomationSwitches(const std::vector<std::string>& arguments) {
  AutomationSwitches switches;
  for (const std::string& argument : arguments) {
    if (IsSwitch(argument, "Embedding") || IsSwitch(argument, "Automation")) {
      switches.startedByClient = true;
    } else if (IsSwitch(argument, "Register")) {
      switches.registerOnly = true;
    } else if (IsSwitch(argument, "Unregister")) {
      switches.unregister = true;
    } else if (!argument.empty()) {
      switches.files.push_back(argument);
    }
  }
  return switches;
}

CZazoRavazuApp::CZazoRavazuApp(AppContext& app) : app_(app) {}

CZazoRavazuApp::~CZazoRavazuApp() = default;

void CZazoRavazuApp::InitInstance(const std::vector<std::string>& arguments) {
  Desktop& desktop = app_.desktop;
  AppSettings& settings = app_.settings;
  settings.windowTitle = ui::kWindowTitle;
  settings.settingsKeyName = ui::kSettingsKeyName;
  settings.programFolder = desktop.settings.Read(settings.settingsKeyName, "FilePath");
  while (settings.programFolder.size() > 1 && settings.programFolder.ends_with('/')) {
    settings.programFolder.pop_back();
  }

  if (desktop.titles.Exists(settings.windowTitle)) {
    desktop.messageBoxes.Show({.text = ui::kAlreadyRunning,
                               .caption = ui::kAlreadyRunningCaption,
                               .buttons = MessageButtons::kOk,
                               .icon = MessageIcon::kInformation,
                               .systemModal = true});
    EndProgram(app_);
  }

  const AutomationSwitches switches = ParseAutomationSwitches(arguments);
  if (switches.unregister) {
    UnregisterAutomation();
    return;
  }
  if (!switches.startedByClient) {
    RegisterAutomation();
    if (switches.registerOnly) return;
  }

  RemoveEarlierWorkCopies(app_);
  mainWindow_ = std::make_unique<CZazoRavazuDlg>(app_, switches.files);
  mainWindow_->DoModal();
}

void CZazoRavazuApp::RegisterAutomation() {
  SettingsStore& store = app_.desktop.settings;
  store.Write(kProgId, "CLSID", kClassId);
  store.Write(ClassKey(), "ProgID", kProgId);
  store.Write(ClassKey(), "TypeLib", kTypeLibraryId);
  store.Write(ClassKey(), "Name", "CZazoRavazuDlgAutoProxy");
  store.Write(TypeLibraryKey(), "Interface", "IZazoRavazu");
  store.Write(TypeLibraryKey(), "Version", "1.0");
}

void CZazoRavazuApp::UnregisterAutomation() {
  SettingsStore& store = app_.desktop.settings;
  store.RemoveKey(kProgId);
  store.RemoveKey(ClassKey());
  store.RemoveKey(TypeLibraryKey());
}

}  // namespace tarnwick
