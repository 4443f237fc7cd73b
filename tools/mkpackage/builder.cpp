#include "mkpackage/builder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>

#include "mkpackage/builtin_languages.h"
#include "mkpackage/cab_writer.h"
#include "mkpackage/checks.h"
#include "mkpackage/default_pictures.h"
#include "mkpackage/project_script.h"
#include "mkpackage/strings.h"
#include "form/bitmap.h"
#include "platform/text.h"
#include "script/ini_file.h"
#include "script/list_entry.h"

namespace mkpackage {

namespace {

constexpr uint64_t kMaxPosition = INT32_MAX;  // every position in the package is a signed 32-bit number
constexpr size_t kChunk = 1 << 20;

struct FilePlan {
  std::string key;
  std::string sourcePath;   // host path
  std::string storedName;   // name part of the target
  ProjectScript::Key line;
  uint64_t size = 0;
  time_t mtime = 0;
  bool readOnly = false;
  uint64_t packedSize = 0;
};

// A file of the configuration cabinet besides setup.ini: the project's own, read from its
// folder, or one the tool supplies.
struct ConfigurationFile {
  std::string name;
  bool supplied = false;
  std::string contents;  // of a supplied file
};

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }
std::string SystemError() { return std::strerror(errno); }

std::string TenDigits(uint64_t value) {
  char field[24];
  std::snprintf(field, sizeof field, "%010llu", static_cast<unsigned long long>(value));
  return field;
}

bool ReadHostFile(const std::string& path, std::string& contents) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  contents.clear();
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) contents.append(buffer, n);
  const bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

bool IsDecimalKey(const std::string& name, uint64_t& number) {
  if (name.empty() || name.size() > 10 || (name.size() > 1 && name[0] == '0')) return false;
  number = 0;
  for (char c : name) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + unsigned(c - '0');
  }
  return true;
}

std::string JoinPath(const std::string& folder, std::string relative) {
  std::replace(relative.begin(), relative.end(), '\\', '/');
  if (!relative.empty() && relative[0] == '/') return relative;
  return folder + "/" + relative;
}

// "MZ", and the PE signature where the DOS header's e_lfanew points.
bool IsPeFile(const std::string& image) {
  if (image.size() < 0x40 || image.compare(0, 2, "MZ") != 0) return false;
  const auto* p = reinterpret_cast<const unsigned char*>(image.data()) + 0x3C;
  const uint64_t peOffset = uint64_t(p[0]) | uint64_t(p[1]) << 8 | uint64_t(p[2]) << 16 | uint64_t(p[3]) << 24;
  return peOffset + 4 <= image.size() && image.compare(size_t(peOffset), 4, std::string("PE\0\0", 4)) == 0;
}

// Configuration files of the project folder, besides setup.ini, sorted by name.
bool IsConfigurationFile(const std::string& name) {
  const std::string lower = text::Lower(name);
  if (EndsWith(lower, ".lng") && lower.size() > 4) return true;
  if (lower == "zxwizard.bmp" || lower == "zxheader.bmp") return true;
  return (lower[0] == 'l' || lower[0] == 'r') && EndsWith(lower, ".rtf") && lower.size() > 5;
}

// Temporary files beside the output, removed unless kept.
class TempFile {
 public:
  ~TempFile() {
    if (file_) std::fclose(file_);
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  bool Create(const std::string& beside) {
    const size_t slash = beside.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : beside.substr(0, slash);
    const std::string name = slash == std::string::npos ? beside : beside.substr(slash + 1);
    std::string pattern = folder + "/." + name + ".XXXXXX";
    const int fd = ::mkstemp(&pattern[0]);
    if (fd < 0) return false;
    path_ = pattern;
    file_ = ::fdopen(fd, "w+b");
    if (!file_) ::close(fd);
    return file_ != nullptr;
  }
  // The name goes at once; the file lives as long as it is open.
  void Unlink() {
    ::unlink(path_.c_str());
    path_.clear();
  }
  // Closes the file and renames it; false (the file removed) on a failure.
  bool CloseAndRename(const std::string& to) {
    FILE* f = file_;
    file_ = nullptr;
    if (std::fflush(f) != 0 || ::fsync(::fileno(f)) != 0) {
      std::fclose(f);
      return false;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(::fileno(f), 0644 & ~mask);
    if (std::fclose(f) != 0) return false;
    if (std::rename(path_.c_str(), to.c_str()) != 0) return false;
    path_.clear();
    return true;
  }
  FILE* get() const { return file_; }

 private:
  std::string path_;
  FILE* file_ = nullptr;
};

class Builder {
 public:
  Builder(const BuildOptions& options, BuildResult& result) : o_(options), r_(result) {}

  void Run() {
    if (!ReadInputs()) return;
    PlanFiles();
    CheckScript(*script_, r_.warnings);
    CheckOwnPictures();
    SupplyMissingConfiguration();
    if (!r_.errors.empty()) return;
    if (o_.strict && !r_.warnings.empty()) {
      Error(std::to_string(r_.warnings.size()) + (r_.warnings.size() == 1 ? " warning" : " warnings") +
            " with --strict");
      return;
    }
    if (!CheckOutput()) return;
    if (!WriteFileCabinets() || !RewriteScript() || !WriteConfigurationCabinet() || !Assemble()) return;
    r_.ok = true;
  }

 private:
  void Error(const std::string& message) { r_.errors.push_back(message); }
  void Warning(const std::string& message) { r_.warnings.push_back(message); }
  void Note(const std::string& message) { r_.notes.push_back(message); }

  bool ReadInputs() {
    const std::string& dir = o_.projectDir;
    DIR* listing = ::opendir(dir.c_str());
    if (!listing) {
      Error("cannot read the project folder " + Quoted(dir) + ": " + SystemError());
      return false;
    }
    while (struct dirent* entry = ::readdir(listing)) {
      const std::string name = entry->d_name;
      struct stat st;
      if (name == "." || name == ".." || ::stat((dir + "/" + name).c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        continue;
      if (text::SameText(name, "setup.ini")) {
        if (scriptName_.empty() || name == "setup.ini") scriptName_ = name;
      } else if (IsConfigurationFile(name)) {
        configFiles_.push_back(ConfigurationFile{name, false, {}});
      }
    }
    ::closedir(listing);
    std::string text;
    if (scriptName_.empty() || !ReadHostFile(dir + "/" + scriptName_, text)) {
      Error("cannot read the project's setup script " + Quoted(dir + "/setup.ini") + ": " +
            (scriptName_.empty() ? "no such file" : SystemError()));
      return false;
    }
    script_.reset(new ProjectScript(text));

    if (o_.stub.empty()) {
      Error("no stub: give --stub PATH (the setup program the package is appended to)");
      return false;
    }
    if (!ReadHostFile(o_.stub, stub_)) {
      Error("cannot read the stub " + Quoted(o_.stub) + ": " + SystemError());
      return false;
    }
    if (!IsPeFile(stub_)) {
      Error("the stub " + Quoted(o_.stub) + " is not a Windows program (no \"MZ\" header with a PE signature)");
      return false;
    }
    if (int64_t(stub_.size()) > kFixedPackageOffset &&
        ParseInteger(stub_.substr(size_t(kFixedPackageOffset), 10))) {
      // The setup would take these bytes for the size field of a package at the fixed offset.
      Error("the stub " + Quoted(o_.stub) + " holds a number at byte 250,368, where the setup looks for the package");
      return false;
    }
    return true;
  }

  void PlanFiles() {
    const std::vector<ProjectScript::Key> keys = script_->Keys("Files");
    std::optional<ProjectScript::Key> count = script_->Find("Setup", "FilesCount");
    countSet_ = count && !count->value.empty();
    if (countSet_) {
      std::optional<int32_t> n = ParseInteger(count->value);
      if (!n) Warning("[Setup] FilesCount: " + Quoted(count->value) + " is not a number; the setup reads 0 and installs no file");
      filesCount_ = n && *n > 0 ? uint64_t(*n) : 0;
    } else {
      auto listed = [&](uint64_t n) {
        const std::string name = std::to_string(n);
        return std::any_of(keys.begin(), keys.end(), [&](const ProjectScript::Key& k) { return k.name == name; });
      };
      while (listed(filesCount_)) ++filesCount_;
    }
    for (const ProjectScript::Key& key : keys) {
      uint64_t number;
      if (IsDecimalKey(key.name, number) && number < filesCount_) continue;
      Warning("[Files] " + key.name + ": not a key from 0 to FilesCount - 1 (" + std::to_string(filesCount_) +
              (countSet_ ? " as the project sets it" : ", the keys that follow one another from 0") +
              "); the setup never reads it");
    }
    const std::string& dir = o_.projectDir;
    for (uint64_t i = 0; i < filesCount_; ++i) {
      const std::string name = std::to_string(i);
      std::optional<ProjectScript::Key> key = script_->Find("Files", name);
      if (!key || key->value.empty()) continue;
      const std::vector<std::string> fields = SplitEntry(key->value, kFilesSeparator);
      const std::string where = "[Files] " + name + ": ";
      if (fields.size() < 4) {
        Error(where + std::to_string(fields.size()) + (fields.size() == 1 ? " field" : " fields") +
              ", an entry needs 4: target?source file?exist mode?remove on uninstall");
        continue;
      }
      CheckKeywords("Files", name, fields, r_.warnings);
      FilePlan plan;
      plan.key = name;
      plan.line = *key;
      const std::string& target = fields[0];
      const size_t slash = target.rfind('\\');
      plan.storedName = slash == std::string::npos ? target : target.substr(slash + 1);
      if (TrimText(plan.storedName).empty()) {
        Error(where + "the target " + Quoted(target) + " has no file name after its last \"\\\"");
        continue;
      }
      const std::string source = TrimText(fields[1]);
      if (source.empty()) {
        Error(where + "no source file in the second field");
        continue;
      }
      plan.sourcePath = JoinPath(dir, source);
      struct stat st;
      if (::stat(plan.sourcePath.c_str(), &st) != 0) {
        Error(where + "source file " + Quoted(source) + " not found (" + plan.sourcePath + ": " + SystemError() + ")");
        continue;
      }
      if (!S_ISREG(st.st_mode)) {
        Error(where + "source " + Quoted(source) + " is not a file");
        continue;
      }
      plan.size = uint64_t(st.st_size);
      plan.mtime = st.st_mtime;
      plan.readOnly = (st.st_mode & S_IWUSR) == 0;
      if (plan.size > kMaxPosition) {
        Error(where + "source file " + Quoted(source) + " is larger than 2 GB");
        continue;
      }
      totalBytes_ += plan.size;
      plans_.push_back(std::move(plan));
    }
  }

  // The setup refuses a package without a language or one of the two pictures: what the
  // project lacks comes from the tool, each piece on its own. A project's own file always wins.
  // A picture the setup cannot load makes it end as corrupted on every computer.
  void CheckOwnPictures() {
    for (const ConfigurationFile& file : configFiles_) {
      const std::string lower = text::Lower(file.name);
      Bitmap picture;
      if ((lower == "zxwizard.bmp" || lower == "zxheader.bmp") &&
          !LoadBitmapFile(o_.projectDir + "/" + file.name, picture))
        Error(file.name + ": not a Windows bitmap the setup can load; the setup would report the package as corrupted");
    }
  }

  void SupplyMissingConfiguration() {
    bool language = false, wizard = false, header = false;
    for (const ConfigurationFile& file : configFiles_) {
      const std::string lower = text::Lower(file.name);
      language |= EndsWith(lower, ".lng");
      wizard |= lower == "zxwizard.bmp";
      header |= lower == "zxheader.bmp";
    }
    if (!language) {
      std::string names;
      for (size_t i = 0; i < kBuiltinLanguageCount; ++i) {
        const EmbeddedFile& lng = kBuiltinLanguages[i];
        const std::string data(reinterpret_cast<const char*>(lng.data), lng.size);
        configFiles_.push_back(ConfigurationFile{lng.name, true, data});
        names += (i ? ", " : "") + std::string(lng.name, std::strlen(lng.name) - 4);
      }
      Note("no language file (*.lng) in the project folder: packed the built-in languages (" + names + ")");
    }
    if (!wizard) {
      configFiles_.push_back(ConfigurationFile{"zxwizard.bmp", true, DefaultWizardPicture()});
      Note("no zxwizard.bmp in the project folder: packed the built-in picture");
    }
    if (!header) {
      configFiles_.push_back(ConfigurationFile{"zxheader.bmp", true, DefaultHeaderPicture()});
      Note("no zxheader.bmp in the project folder: packed the built-in picture");
    }
    std::sort(configFiles_.begin(), configFiles_.end(),
              [](const ConfigurationFile& a, const ConfigurationFile& b) { return a.name < b.name; });
  }

  bool CheckOutput() {
    struct stat st;
    if (::stat(o_.output.c_str(), &st) == 0 && (S_ISDIR(st.st_mode) || ::access(o_.output.c_str(), W_OK) != 0)) {
      Error("cannot write the output " + Quoted(o_.output) + ": " + (S_ISDIR(st.st_mode) ? "it is a folder" : "not writable"));
      return false;
    }
    if (!package_.Create(o_.output) || !body_.Create(o_.output)) {
      Error("cannot write the output " + Quoted(o_.output) + ": " + SystemError());
      return false;
    }
    body_.Unlink();
    return true;
  }

  void Report(size_t filesDone, uint64_t bytesDone) {
    if (o_.progress) o_.progress(Progress{filesDone, plans_.size(), bytesDone, totalBytes_});
  }

  bool WriteFileCabinets() {
    std::vector<char> buffer(kChunk);
    uint64_t done = 0;
    for (size_t i = 0; i < plans_.size(); ++i) {
      FilePlan& plan = plans_[i];
      const std::string where = "[Files] " + plan.key + ": ";
      cab::StoredFile stored;
      stored.name = plan.storedName;
      stored.size = uint32_t(plan.size);
      cab::ToDosDateTime(plan.mtime, stored.dosDate, stored.dosTime);
      stored.attributes = uint16_t(cab::kAttrArchive | (plan.readOnly ? cab::kAttrReadOnly : 0));
      cab::FileSink sink(body_.get());
      cab::Writer writer(sink, o_.level);
      if (!writer.Begin({stored})) return Error(where + writer.Error()), false;
      FILE* in = std::fopen(plan.sourcePath.c_str(), "rb");
      if (!in) return Error(where + "cannot read " + Quoted(plan.sourcePath) + ": " + SystemError()), false;
      uint64_t read = 0;
      size_t n;
      while ((n = std::fread(buffer.data(), 1, buffer.size(), in)) > 0 && read + n <= plan.size) {
        if (!writer.Write(buffer.data(), n)) break;
        read += n;
        done += n;
        if (plan.size > kChunk) Report(i, done);
      }
      const bool readError = std::ferror(in) != 0;
      std::fclose(in);
      if (readError) return Error(where + "cannot read " + Quoted(plan.sourcePath) + ": " + SystemError()), false;
      if (!writer.Error().empty()) return Error(where + "cannot write the package: " + writer.Error()), false;
      if (read != plan.size || n != 0)
        return Error(where + Quoted(plan.sourcePath) + " changed its size while the package was built"), false;
      if (!writer.Finish()) return Error(where + "cannot write the package: " + writer.Error()), false;
      plan.packedSize = writer.Length();
      bodySize_ += plan.packedSize;
      Report(i + 1, done);
    }
    return true;
  }

  bool RewriteScript() {
    for (const FilePlan& plan : plans_)
      if (!script_->ReplaceSecondField(plan.line, std::to_string(plan.packedSize)))
        return Error("[Files] " + plan.key + ": the line cannot be rewritten"), false;
    if (!countSet_) script_->Set("Setup", "FilesCount", std::to_string(filesCount_));
    std::optional<ProjectScript::Key> size = script_->Find("Setup", "FilesSize");
    if (!size || size->value.empty()) {
      if (totalBytes_ > kMaxPosition) return Error("the files hold more than 2 GB"), false;
      script_->Set("Setup", "FilesSize", std::to_string(totalBytes_));
    }
    return true;
  }

  // Configuration files lose a read-only bit: the setup removes its work folder at the end.
  // The rewritten script and the files the tool supplies carry the time of the build.
  bool WriteConfigurationCabinet() {
    const time_t now = std::time(nullptr);
    const std::string scriptText = script_->Text();
    std::vector<cab::StoredFile> stored;
    std::vector<std::string> contents;
    cab::StoredFile ini;
    ini.name = "setup.ini";
    ini.size = uint32_t(scriptText.size());
    cab::ToDosDateTime(now, ini.dosDate, ini.dosTime);
    stored.push_back(ini);
    contents.push_back(scriptText);
    for (ConfigurationFile& config : configFiles_) {
      std::string data;
      time_t moment = now;
      if (config.supplied) {
        data.swap(config.contents);
      } else {
        const std::string path = o_.projectDir + "/" + config.name;
        struct stat st;
        if (!ReadHostFile(path, data) || ::stat(path.c_str(), &st) != 0)
          return Error("cannot read " + Quoted(path) + ": " + SystemError()), false;
        moment = st.st_mtime;
      }
      cab::StoredFile file;
      file.name = config.name;
      file.size = uint32_t(data.size());
      cab::ToDosDateTime(moment, file.dosDate, file.dosTime);
      stored.push_back(file);
      contents.push_back(std::move(data));
    }
    cab::StringSink sink(configCab_);
    cab::Writer writer(sink, o_.level);
    bool ok = writer.Begin(stored);
    for (size_t i = 0; ok && i < contents.size(); ++i) ok = writer.Write(contents[i].data(), contents[i].size());
    if (!ok || !writer.Finish()) return Error("configuration cabinet: " + writer.Error()), false;
    return true;
  }

  bool Assemble() {
    const uint64_t offset = std::max<uint64_t>(stub_.size(), uint64_t(kFixedPackageOffset));
    const uint64_t total = offset + 10 + configCab_.size() + bodySize_ + 10;
    if (total > kMaxPosition) return Error("the package would be larger than 2 GB"), false;
    FILE* out = package_.get();
    stub_.resize(size_t(offset), '\0');
    const std::string sizeField = TenDigits(configCab_.size());
    bool ok = std::fwrite(stub_.data(), 1, stub_.size(), out) == stub_.size() &&
              std::fwrite(sizeField.data(), 1, 10, out) == 10 &&
              std::fwrite(configCab_.data(), 1, configCab_.size(), out) == configCab_.size();
    std::vector<char> buffer(kChunk);
    ok = ok && std::fseek(body_.get(), 0, SEEK_SET) == 0;
    uint64_t copied = 0;
    size_t n;
    while (ok && (n = std::fread(buffer.data(), 1, buffer.size(), body_.get())) > 0) {
      ok = std::fwrite(buffer.data(), 1, n, out) == n;
      copied += n;
    }
    const std::string trailer = TenDigits(offset);
    ok = ok && copied == bodySize_ && std::fwrite(trailer.data(), 1, 10, out) == 10;
    if (!ok || !package_.CloseAndRename(o_.output))
      return Error("cannot write the output " + Quoted(o_.output) + ": " + SystemError()), false;
    r_.filesPacked = plans_.size();
    r_.packageSize = total;
    return true;
  }

  const BuildOptions& o_;
  BuildResult& r_;
  std::unique_ptr<ProjectScript> script_;
  std::string scriptName_;
  std::vector<ConfigurationFile> configFiles_;
  std::string stub_;
  bool countSet_ = false;
  uint64_t filesCount_ = 0;
  std::vector<FilePlan> plans_;
  uint64_t totalBytes_ = 0;
  uint64_t bodySize_ = 0;
  std::string configCab_;
  TempFile package_, body_;
};

}  // namespace

BuildResult BuildPackage(const BuildOptions& options) {
  BuildResult result;
  Builder(options, result).Run();
  return result;
}

std::string DefaultStubPath() {
  char self[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return "";
  std::string path(self, size_t(n));
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return "";
  return path.substr(0, slash) + "/../win/setup.exe";
}

}  // namespace mkpackage
