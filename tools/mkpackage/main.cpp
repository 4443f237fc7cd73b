// mkpackage: builds a setup package from a project folder. Exit codes: 0 the package was
// written, 1 an error (nothing written), 2 a usage error.
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "mkpackage/builder.h"
#include "mkpackage/builtin_languages.h"

namespace {

const char kUsage[] =
    "usage: mkpackage PROJECT_DIR -o OUT.exe [--stub PATH] [--strict] [--help]\n";

const char kHelp[] =
    "Builds a setup package: the setup program with the project's files appended.\n"
    "\n"
    "  PROJECT_DIR   folder holding setup.ini, the language files (*.lng), zxwizard.bmp,\n"
    "                zxheader.bmp, L*.rtf / R*.rtf, and the files to install\n"
    "  -o OUT.exe    the package to write (replaced only when the build succeeds)\n"
    "  --stub PATH   the setup program (default: ../win/setup.exe beside this tool)\n"
    "  --strict      treat warnings as errors\n"
    "  --help        this text\n"
    "\n"
    "In setup.ini, the second field of each [Files] entry names the source file, relative to\n"
    "PROJECT_DIR: 0=<InstallDir>\\bin\\app.exe?bin/app.exe?Overwrite?Yes\n"
    "The package's setup.ini holds the length of the file's cabinet there instead, and\n"
    "FilesCount and FilesSize (the sum of the files' sizes) unless the project sets them.\n"
    "Without FilesCount, the [Files] keys 0, 1, 2, ... up to the first gap are packed.\n"
    "\n"
    "A project without *.lng files gets all the built-in languages; one without\n"
    "zxwizard.bmp (500 x 314) or zxheader.bmp (498 x 55) gets a built-in picture instead.\n"
    "\n"
    "Exit codes: 0 written, 1 error (nothing written), 2 usage error.\n"
    "\n"
    "Built-in languages:";

int Usage(const char* problem) {
  std::fprintf(stderr, "mkpackage: %s\n%s", problem, kUsage);
  return 2;
}

bool Exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  mkpackage::BuildOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      std::fputs(kHelp, stdout);
      for (size_t n = 0; n < mkpackage::kBuiltinLanguageCount; ++n) {
        const std::string name = mkpackage::kBuiltinLanguages[n].name;
        std::printf("%s %s", n ? "," : "", name.substr(0, name.size() - 4).c_str());
      }
      std::fputs("\n", stdout);
      return 0;
    } else if (arg == "-o" || arg == "--stub") {
      if (i + 1 == argc) return Usage((arg + " needs a path").c_str());
      (arg == "-o" ? options.output : options.stub) = argv[++i];
    } else if (arg == "--strict") {
      options.strict = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return Usage(("unknown option " + arg).c_str());
    } else if (options.projectDir.empty()) {
      options.projectDir = arg;
    } else {
      return Usage("more than one project folder");
    }
  }
  if (options.projectDir.empty()) return Usage("no project folder");
  if (options.output.empty()) return Usage("no output (-o OUT.exe)");
  if (options.stub.empty()) {
    const std::string beside = mkpackage::DefaultStubPath();
    if (beside.empty() || !Exists(beside)) {
      std::fprintf(stderr, "mkpackage: error: no stub at %s; build it or give --stub PATH\n",
                   beside.empty() ? "../win/setup.exe beside the tool" : beside.c_str());
      return 1;
    }
    options.stub = beside;
  }

  // Progress once a second while a large project is packed, and its end when any was shown.
  using Clock = std::chrono::steady_clock;
  Clock::time_point last = Clock::now();
  bool shown = false;
  options.progress = [&last, &shown](const mkpackage::Progress& p) {
    const Clock::time_point now = Clock::now();
    const bool finished = p.filesDone == p.filesTotal;
    if (finished ? !shown : now - last < std::chrono::seconds(1)) return;
    last = now;
    shown = true;
    std::fprintf(stderr, "mkpackage: %zu of %zu files, %.1f of %.1f MB\n", p.filesDone, p.filesTotal,
                 double(p.bytesDone) / 1048576.0, double(p.bytesTotal) / 1048576.0);
  };

  const mkpackage::BuildResult result = mkpackage::BuildPackage(options);
  const char* warningKind = options.strict ? "error" : "warning";
  for (const std::string& n : result.notes) std::fprintf(stderr, "mkpackage: note: %s\n", n.c_str());
  for (const std::string& w : result.warnings) std::fprintf(stderr, "mkpackage: %s: %s\n", warningKind, w.c_str());
  for (const std::string& e : result.errors) std::fprintf(stderr, "mkpackage: error: %s\n", e.c_str());
  if (!result.ok) return 1;
  std::fprintf(stderr, "mkpackage: wrote %s: %zu files, %llu bytes\n", options.output.c_str(), result.filesPacked,
               static_cast<unsigned long long>(result.packageSize));
  return 0;
}
