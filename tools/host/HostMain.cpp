// ombrix-host.exe: the reference host as a program.
//   ombrix-host about MODULE [--report FILE]
//   ombrix-host import MODULE --out DIR --report FILE [switches]
//   ombrix-host "FILE" ...   (a module's hand-off: records its command line and exits 0)
#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <map>
#include <new>

#include "common/ProgramFolder.h"
#include "host/AnsiText.h"
#include "host/HandOffRecord.h"
#include "host/ReferenceHost.h"

namespace {

bool IsCommandWord(const std::string& word)
{
    return word == "about" || word == "import" || word == "help" || (!word.empty() && word[0] == '-');
}

void AddHostSwitches(CLI::App* command, HostOptions* options, std::string* dialogs)
{
    command->add_option("--out", options->outputFolder, "folder for documents and hand-off reports");
    command->add_option("--report", options->reportPath, "the run's report, JSON lines");
    command->add_option("--dialogs", *dialogs, "ok (press OK), person (leave them), screenshot (pause, then OK)")
        ->check(CLI::IsMember({"ok", "person", "screenshot"}));
    command->add_option("--pause-ms", options->screenshotPauseMs, "pause before pressing OK in screenshot mode");
}

void AddImportSwitches(CLI::App* command, HostOptions* options, std::vector<std::string>* environment)
{
    auto noHandles = [options] { options->handleSuite.present = false; };
    auto noBuffers = [options] { options->bufferSuite.present = false; };
    command->add_flag_callback("--no-handle-suite", noHandles, "give the module no handle suite");
    command->add_option("--handle-suite-version", options->handleSuite.version);
    command->add_option("--handle-suite-count", options->handleSuite.count);
    command->add_option("--handle-missing", options->handleSuite.missingProcs, "null handle procedure (repeatable)");
    command->add_flag_callback("--no-buffer-suite", noBuffers, "give the module no buffer suite");
    command->add_option("--buffer-suite-version", options->bufferSuite.version);
    command->add_option("--buffer-suite-count", options->bufferSuite.count);
    command->add_option("--buffer-missing", options->bufferSuite.missingProcs, "null buffer procedure (repeatable)");
    command->add_option("--buffer-space", options->bufferSpace, "bytes the buffer suite offers");
    command->add_flag_callback("--no-advance-state", [options] { options->advanceStatePresent = false; });
    command->add_option("--abort-at-poll", options->abortAtPoll, "abortProc answers true from this poll on");
    command->add_option("--advance-state-error-at", options->advanceStateErrorAtStrip, "this strip is refused");
    command->add_option("--advance-state-error", options->advanceStateError, "the error a refused strip gets");
    command->add_flag_callback("--refuse-profiles", [options] { options->canUseICCProfiles = false; });
    command->add_flag("--finalize-after-failed-prepare", options->finalizeAfterFailedPrepare);
    const std::map<std::string, int16_t> leaving{
        {"prepare", SelectorPrepare}, {"start", SelectorStart}, {"continue", SelectorContinue}, {"finish", SelectorFinish}};
    command->add_option("--leave-after", options->leaveRunAfter, "send nothing more after this call, not even Finalize")
        ->transform(CLI::CheckedTransformer(leaving));
    command->add_option("--document-memory", options->documentMemoryLimit,
                        "bytes of pixels held for one document; beyond, it is refused with -108 (0: no limit)");
    command->add_option("--env", *environment, "NAME=VALUE set for the run (repeatable)");
}

DialogMode ModeOf(const std::string& dialogs)
{
    if (dialogs == "person")
        return DialogMode::LeaveForPerson;
    if (dialogs == "screenshot")
        return DialogMode::PauseForScreenshot;
    return DialogMode::PressOk;
}

void PrintReport(const HostReport& report)
{
    for (const CallRecord& call : report.calls) {
        std::printf("  %-9s result %6d  %8.1f ms", call.name.c_str(), call.result, call.milliseconds);
        if (call.selector == SelectorFinish)
            std::printf("  acquireAgain %d", call.acquireAgain ? 1 : 0);
        if (call.selector == SelectorPrepare)
            std::printf("  wantFinalize %d", call.wantFinalize ? 1 : 0);
        std::printf("\n");
    }
    for (const DocumentRecord& doc : report.documents) {
        std::string state = doc.complete ? "complete" : "not kept (error " + std::to_string(doc.error) + ")";
        if (!doc.refused.empty())
            state = "refused, error " + std::to_string(doc.error) + ": " + doc.refused;
        std::printf("  document %d \"%s\": %d x %d, depth %d, %d planes, %zu strips, profile %zu bytes, %s\n",
                    doc.index, AnsiToUtf8(doc.filename).c_str(), doc.width, doc.height, doc.depth, doc.planes,
                    doc.strips.size(), doc.profile.size(), state.c_str());
        if (!doc.tiffPath.empty())
            std::printf("    saved: %s\n    preview: %s\n", doc.tiffPath.c_str(), doc.pngPath.c_str());
    }
    for (const DialogRecord& dialog : report.dialogs)
        std::printf("  %s \"%s\": \"%s\" (%s)\n", dialog.messageBox ? "message box" : "dialog",
                    AnsiToUtf8(dialog.caption).c_str(), AnsiToUtf8(dialog.text).c_str(), dialog.action.c_str());
    for (const LeakRecord& leak : report.leaks)
        std::printf("  leak: %s of %d bytes from %s\n", leak.kind.c_str(), leak.size,
                    SelectorName(leak.selector).c_str());
    for (const std::string& problem : report.problems)
        std::printf("  problem: %s\n", problem.c_str());
    if (report.command == "import")
        std::printf("  %d of %zu documents kept\n", report.CompleteDocuments(), report.documents.size());
}

int Run(const std::string& command, const std::string& modulePath, HostOptions options,
        const std::vector<std::string>& environment, int handOffWaitMs)
{
    for (const std::string& assignment : environment) {
        size_t equals = assignment.find('=');
        if (equals == std::string::npos || equals == 0) {
            std::cerr << "--env wants NAME=VALUE, not " << assignment << "\n";
            return 1;
        }
        options.environment[assignment.substr(0, equals)] = assignment.substr(equals + 1);
    }
    ReferenceHost host(options);
    if (!host.Load(modulePath)) {
        std::cerr << "ombrix-host: " << host.LoadError() << "\n";
        return 2;
    }
    std::printf("%s: \"%s\", entry point %s\n", modulePath.c_str(), host.Pipl().name.c_str(),
                host.Pipl().entryPoint.c_str());
    HostReport report = command == "about" ? host.About() : host.Import();
    PrintReport(report);
    if (!options.reportPath.empty())
        std::printf("report: %s\n", options.reportPath.c_str());
    if (handOffWaitMs > 0 && !options.outputFolder.empty()) {
        for (const HandOffRecord& handOff : WaitForHandOffRecords(options.outputFolder, 1, handOffWaitMs)) {
            std::printf("hand-off: a new host instance was started with: %s\n", handOff.commandLine.c_str());
            for (const std::string& path : handOff.paths)
                std::printf("    %s\n", path.c_str());
        }
    }
    return 0;
}

}  // namespace

int main()
{
    // UTF-8 from the wide command line: a module or report path may hold
    // any character.
    std::vector<std::string> arguments = ProgramArguments();
    if (arguments.empty())
        arguments.push_back("ombrix-host");
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    int argc = int(argv.size());
    if (argc > 1 && !IsCommandWord(argv[1])) {
        // Started with file arguments, as a module hands files to a new host.
        std::string written = RecordThisHandOff();
        return written.empty() ? 1 : 0;
    }

    CLI::App app{"The reference host: loads an import module and drives it as the real host does."};
    app.require_subcommand(1);
    std::string modulePath;
    std::string dialogs = "ok";
    std::vector<std::string> environment;
    int handOffWaitMs = 0;
    HostOptions aboutOptions;
    HostOptions importOptions;

    CLI::App* about = app.add_subcommand("about", "call the module's About (selector 0)");
    about->add_option("module", modulePath, "the module file")->required();
    AddHostSwitches(about, &aboutOptions, &dialogs);

    CLI::App* import = app.add_subcommand("import", "run one import");
    import->add_option("module", modulePath, "the module file")->required();
    AddHostSwitches(import, &importOptions, &dialogs);
    AddImportSwitches(import, &importOptions, &environment);
    import->add_option("--handoff-wait-ms", handOffWaitMs, "wait this long for a hand-off instance's record");

    CLI11_PARSE(app, argc, argv.data());

    bool isAbout = about->parsed();
    HostOptions options = isAbout ? aboutOptions : importOptions;
    options.dialogs = ModeOf(dialogs);
    try {
        return Run(isAbout ? "about" : "import", modulePath, options, environment, handOffWaitMs);
    } catch (const std::bad_alloc&) {
        // Documents the host cannot hold are refused within the run; this is
        // memory running out anywhere else.
        std::cerr << "ombrix-host: out of memory outside a document\n";
        return 3;
    }
}
