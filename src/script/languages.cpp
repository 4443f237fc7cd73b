#include "script/languages.h"

#include <algorithm>

#include "form/form1.h"
#include "package/workdir.h"
#include "platform/files.h"
#include "platform/system.h"
#include "platform/text.h"
#include "script/placeholders.h"
#include "script/setup_ini.h"

IniFile LangIni;

namespace {

std::string LanguageFile(const std::string& language) { return WorkDir + "\\" + language + ".lng"; }

// The language files' names without ".lng". A file system may list in any order; the list
// keeps one that does not change between runs.
std::vector<std::string> ListLanguages() {
  std::vector<std::string> languages;
  for (const platform::FolderEntry& entry : platform::ListFolder(WorkDir + "\\*.lng"))
    if (!entry.isFolder) languages.push_back(entry.name.substr(0, entry.name.size() - 4));
  // A handful of names: an insertion sort is all it takes.
  for (size_t i = 1; i < languages.size(); ++i)
    for (size_t j = i; j > 0 && text::Lower(languages[j]) < text::Lower(languages[j - 1]); --j)
      languages[j].swap(languages[j - 1]);
  return languages;
}

int ChosenLanguage(const std::vector<std::string>& languages) {
  auto preferred = std::find(languages.begin(), languages.end(), SetupString("DefaultLanguage"));
  int chosen = preferred == languages.end() ? -1 : static_cast<int>(preferred - languages.begin());
  if (SetupBool("AutoDetectLanguage")) {
    std::string systemId = text::FromInt(platform::SystemDefaultLanguageId());
    for (size_t i = 0; i < languages.size(); ++i)
      if (IniFile(LanguageFile(languages[i])).ReadString("Info", "id", "") == systemId) chosen = static_cast<int>(i);
  }
  return chosen;
}

}  // namespace

std::string LangText(const char* section, int key) { return LangIni.ReadString(section, text::FromInt(key), ""); }

bool LoadLanguages() {
  ComboBox& list = Form1.ComboLng;
  list.Items = ListLanguages();
  if (list.Items.empty()) return false;
  list.Select(ChosenLanguage(list.Items));
  ApplyLanguage(LanguageFile(list.Text));
  return true;
}

void ApplyLanguage(const std::string& path) {
  LangIni = IniFile(path);
  Form1.Caption = ExpandPlaceholders(LangText("Title", 0));
  Application.Title = Form1.Caption;
  Form1.Label1.Caption = ExpandPlaceholders(LangText("Language", 0));
  Form1.Label2.Caption = ExpandPlaceholders(LangText("Language", 1));
  Form1.BtnBack.Caption = LangText("Buttons", 0);
  Form1.BtnNext.Caption = LangText("Buttons", 1);
  Form1.BtnCancel.Caption = LangText("Buttons", 2);
}

void ComboLngChange() {
  LangIni = IniFile();
  ApplyLanguage(LanguageFile(Form1.ComboLng.Text));
  Form1.FocusControl(Form1.ComboLng);
}

void ComboLngKeyPress(char& key) {
  if (key != '\r') return;
  key = 0;
  Form1.BtnNext.Click();
}
