#include "cli/batch.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <map>
#include <mutex>
#include <new>
#include <optional>
#include <ostream>
#include <set>
#include <sstream>
#include <system_error>
#include <thread>

#include "cli/cli_args.h"
#include "cli/commands.h"
#include "cli/render_setup.h"
#include "platform/files.h"

namespace fs = std::filesystem;

namespace {

enum class Output { None, SameName, Picture, Converted };

struct BatchVerb {
  const char* name;
  CommandFunction run;
  std::set<std::string> valued, flags;  // the verb's own options
  Output output;
  std::set<std::string> extensions;  // the files a folder gives it
  const char* okWord = "ok";
  const char* foundWord = nullptr;  // a run that failed having printed: findings, not a failure
  const char* outOption = nullptr;  // the option naming the output, for a verb whose output is optional
};

const std::set<std::string> kModelFiles = {"md2"};

const std::vector<BatchVerb>& BatchVerbs() {
  // Built on first use: render's option sets are another file's globals.
  static const std::vector<BatchVerb> verbs = [] {
    std::set<std::string> renderFlags = kRenderFlagOptions;
    renderFlags.insert({"--fit", "--no-fit"});
    std::set<std::string> renderValued = kRenderValuedOptions;
    renderValued.insert(kRenderSequenceOptions.begin(), kRenderSequenceOptions.end());
    return std::vector<BatchVerb>{
        {"info", CmdInfo, {"--base"}, {"--json"}, Output::None, kModelFiles},
        {"check", CmdCheck, {"--base", "--fix"}, {}, Output::SameName, kModelFiles, "clean", "findings", "--fix"},
        {"resave", CmdResave, {"--base"}, {}, Output::SameName, kModelFiles},
        {"convert",
         CmdConvert,
         {"--resize", "--palette"},
         {"--no-limits", "--dither"},
         Output::Converted,
         {"pcx", "bmp", "png", "tga", "jpg", "jpeg"}},
        {"render", CmdRender, renderValued, renderFlags, Output::Picture, kModelFiles},
        {"layout", CmdLayout, {"--skin", "--base", "--zoom", "--frame"}, {"--no-skin", "--stretch"}, Output::Picture, kModelFiles},
    };
  }();
  return verbs;
}

const BatchVerb* FindVerb(const std::string& name) {
  for (const BatchVerb& verb : BatchVerbs())
    if (verb.name == name) return &verb;
  return nullptr;
}

BatchResult RunOne(const BatchJob& job, CommandFunction run) {
  std::ostringstream out, err;
  BatchResult result;
  try {
    result.code = run(job.args, out, err);
  } catch (const std::bad_alloc&) {
    err << "skintool: not enough memory for " << job.input << '\n';
    result.code = 1;
  } catch (const std::exception& e) {
    err << "skintool: " << e.what() << ": " << job.input << '\n';
    result.code = 1;
  }
  result.out = out.str();
  result.err = err.str();
  return result;
}

struct Input {
  std::string path;      // as the command will open it
  std::string relative;  // below the folder it was found in; the file name for one named alone
};

// The files of `folder` and the folders below it whose extension the verb
// takes, in name order.
std::vector<Input> FilesIn(const std::string& folder, const std::set<std::string>& extensions) {
  std::vector<Input> found;
  std::error_code ec;
  for (fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec), end;
       !ec && it != end; it.increment(ec)) {
    std::error_code fileEc;
    if (!it->is_regular_file(fileEc) || !extensions.count(ExtensionOf(it->path().string()))) continue;
    found.push_back({it->path().string(), it->path().lexically_relative(folder).string()});
  }
  std::sort(found.begin(), found.end(), [](const Input& a, const Input& b) { return a.relative < b.relative; });
  return found;
}

// The output for `input` below `outDir`: its own name, or its name with the
// extension of the picture written.
std::string OutputFor(const BatchVerb& verb, const Input& input, const std::string& outDir,
                      const std::optional<std::string>& format) {
  fs::path name(input.relative);
  if (verb.output == Output::Picture) name.replace_extension(format.value_or("png"));
  if (verb.output == Output::Converted) {
    const std::string own = ExtensionOf(input.path);
    name.replace_extension(format.value_or(own == "pcx" || own == "bmp" ? own : "png"));
  }
  return (fs::path(outDir) / name).lexically_normal().string();
}

struct BatchOptions {
  std::vector<std::string> inputs;
  std::vector<std::string> verbArgs;  // the verb's own options, in the order given
  std::optional<std::string> outDir, format, jobs;
  bool recursive = false;
  std::string error;
};

BatchOptions SplitArguments(const BatchVerb& verb, const std::vector<std::string>& args) {
  BatchOptions o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::optional<std::string>& into) {
      if (i + 1 >= args.size())
        o.error = "option " + a + " needs a value";
      else
        into = args[++i];
    };
    if (a == "--out-dir") {
      value(o.outDir);
    } else if (a == "--format") {
      value(o.format);
    } else if (a == "-j" || a == "--jobs") {
      value(o.jobs);
    } else if (a.size() > 2 && a.rfind("-j", 0) == 0 && a[2] != '-') {
      o.jobs = a.substr(2);
    } else if (a == "--recursive" || a == "-r") {
      o.recursive = true;
    } else if (verb.valued.count(a)) {
      o.verbArgs.push_back(a);
      if (i + 1 < args.size()) o.verbArgs.push_back(args[++i]);
    } else if (verb.flags.count(a) || (a.size() > 2 && a.rfind("--", 0) == 0)) {
      // Unknown options are left for the verb, which names them.
      o.verbArgs.push_back(a);
    } else {
      o.inputs.push_back(a);
    }
    if (!o.error.empty()) break;
  }
  return o;
}

int Usage(const BatchVerb& verb, const std::string& text, std::ostream& err) {
  err << "skintool " << verb.name << ": " << text << '\n';
  return 2;
}

}  // namespace

void RunBatchJobs(const std::vector<BatchJob>& jobs, CommandFunction run, int threads,
                  const std::function<void(const BatchJob& job, const BatchResult& result)>& done) {
  std::vector<std::optional<BatchResult>> results(jobs.size());
  std::mutex mutex;
  std::condition_variable finished;
  std::atomic<std::size_t> next{0};
  {
    std::vector<std::jthread> pool;
    const std::size_t count = std::min(static_cast<std::size_t>(std::max(threads, 1)), jobs.size());
    try {
      for (std::size_t t = 0; t < count; ++t)
        pool.emplace_back([&] {
          for (std::size_t i; (i = next.fetch_add(1)) < jobs.size();) {
            BatchResult result = RunOne(jobs[i], run);
            std::lock_guard lock(mutex);
            results[i] = std::move(result);
            finished.notify_all();
          }
        });
    } catch (const std::system_error&) {
      // Fewer threads than asked for (a process limit): those there are do
      // the work, or without any this one does.
    }
    for (std::size_t i = 0; i < jobs.size(); ++i) {
      if (pool.empty()) {
        done(jobs[i], RunOne(jobs[i], run));
        continue;
      }
      std::unique_lock lock(mutex);
      finished.wait(lock, [&] { return results[i].has_value(); });
      BatchResult result = std::move(*results[i]);
      lock.unlock();
      done(jobs[i], result);
    }
  }
}

bool IsBatchVerb(const std::string& verb) { return FindVerb(verb) != nullptr; }

int RunBatchable(const std::string& name, const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const BatchVerb& verb = *FindVerb(name);
  BatchOptions o = SplitArguments(verb, args);
  if (!o.error.empty()) return Usage(verb, o.error, err);
  // Verbs with an OUT argument take IN OUT alone as they always did.
  const bool takesOut = verb.output != Output::None && !verb.outOption;
  const bool batch =
      o.outDir || o.recursive || o.jobs || o.format || (takesOut ? o.inputs.size() > 2 : o.inputs.size() > 1);
  if (!batch) return verb.run(args, out, err);

  int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  if (o.jobs) {
    const auto n = WholeNumber(*o.jobs, 1, 1024);
    if (!n) return Usage(verb, "-j takes the number of runs at once, 1 to 1024: " + *o.jobs, err);
    threads = *n;
  }
  if (takesOut && !o.outDir) return Usage(verb, "several inputs write into --out-dir DIR", err);
  if (verb.output == Output::None && o.outDir) return Usage(verb, "writes no files: --out-dir has no use", err);
  if (o.format && verb.output != Output::Picture && verb.output != Output::Converted)
    return Usage(verb, "writes no pictures: --format has no use", err);
  if (o.format) {
    const bool picture = *o.format == "png" || *o.format == "bmp";
    if (!picture && !(verb.output == Output::Converted && *o.format == "pcx"))
      return Usage(verb, "unknown --format " + *o.format, err);
  }
  if (verb.outOption && std::find(o.verbArgs.begin(), o.verbArgs.end(), verb.outOption) != o.verbArgs.end())
    return Usage(verb, std::string(verb.outOption) + " names one file; with several inputs give --out-dir DIR", err);
  if (o.inputs.empty()) return Usage(verb, "no input given", err);

  std::vector<Input> inputs;
  for (const std::string& given : o.inputs) {
    if (o.recursive && FolderExists(given)) {
      std::vector<Input> found = FilesIn(given, verb.extensions);
      inputs.insert(inputs.end(), found.begin(), found.end());
    } else {
      // A file that is not there, or a folder, is the verb's to report among
      // the others.
      inputs.push_back({given, FileNamePart(given)});
    }
  }
  if (inputs.empty()) {
    err << "skintool " << verb.name << ": no input files\n";
    return 1;
  }

  if (o.outDir) {
    std::error_code ec;
    fs::create_directories(*o.outDir, ec);
    if (!FolderExists(*o.outDir)) {
      err << "That folder is not valid: " << AbsolutePath(*o.outDir) << '\n';
      return 1;
    }
  }
  std::vector<BatchJob> jobs;
  std::map<std::string, std::string> writers;  // output -> the input writing it
  for (const Input& input : inputs) {
    BatchJob job{input.path, {input.path}};
    if (o.outDir) {
      const std::string output = OutputFor(verb, input, *o.outDir, o.format);
      if (auto [at, added] = writers.emplace(AbsolutePath(output), input.path); !added)
        return Usage(verb, at->second + " and " + input.path + " would both write " + output, err);
      std::error_code ec;
      fs::create_directories(fs::path(output).parent_path(), ec);
      if (verb.outOption) job.args.push_back(verb.outOption);
      job.args.push_back(output);
    }
    job.args.insert(job.args.end(), o.verbArgs.begin(), o.verbArgs.end());
    jobs.push_back(std::move(job));
  }

  // Machine-readable output stays alone on stdout; the report goes aside.
  const bool json = std::find(o.verbArgs.begin(), o.verbArgs.end(), "--json") != o.verbArgs.end();
  std::ostream& report = json ? err : out;
  std::map<std::string, int> counts;
  std::vector<std::string> words;
  int code = 0;
  RunBatchJobs(jobs, verb.run, threads, [&](const BatchJob& job, const BatchResult& result) {
    const char* word = result.code == 0                                            ? verb.okWord
                       : result.code == 1 && verb.foundWord && !result.out.empty() ? verb.foundWord
                                                                                   : "failed";
    if (counts[word]++ == 0) words.push_back(word);
    code = std::max(code, result.code == 0 ? 0 : result.code == 2 ? 2 : 1);
    report << job.input << ": " << word << '\n';
    if (json) {
      out << result.out;
    } else {
      std::istringstream lines(result.out);
      for (std::string line; std::getline(lines, line);) out << "  " << line << '\n';
    }
    err << result.err;
    out.flush();
    err.flush();
  });
  report << jobs.size() << (jobs.size() == 1 ? " file:" : " files:");
  for (std::size_t i = 0; i < words.size(); ++i) report << (i ? ", " : " ") << counts[words[i]] << ' ' << words[i];
  report << '\n';
  return code;
}
