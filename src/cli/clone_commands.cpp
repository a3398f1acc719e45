#include "cli/clone_commands.h"

#include <cctype>
#include <iostream>
#include <memory>

#include "character/character_fields.h"
#include "cli/cli_support.h"
#include "cli/edit_commands.h"
#include "cli/neighborhood_commands.h"
#include "package/text_list.h"
#include "platform/errors.h"
#include "platform/file_io.h"
#include "workspace/cloning.h"

namespace qh::cli {

namespace {

namespace fs = std::filesystem;

struct CloneOptions {
    std::string prefix;
    std::string sim;
    std::string output;
    std::string input;
    std::string from;
    std::optional<std::string> groups;
    bool save = false;
    bool force = false;
    bool allowNewFindings = false;
};

std::string Lower(std::string text) {
    for (char& ch : text) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return text;
}

Character& FindSim(Workspace& ws, const std::string& file) {
    const auto index = FindSimByFile(ws, file);
    if (!index) throw UsageError("No sim with the character package " + file);
    return ws.characters[*index];
}

CloneGroups GroupsOf(const CloneOptions& options, const GameEnvironment& env) {
    if (!options.groups) return DefaultCloneGroups();
    std::string why;
    const auto groups = ParseCloneGroups(*options.groups, env, why);
    if (!groups) throw UsageError("--groups: " + why);
    return *groups;
}

// What the clone did to the sim (and, for a direct clone, to its source), then the save or the
// note that nothing was saved.
void Finish(GameSession& session, const CloneOptions& options, const Character& before, const Character& sim,
            std::size_t itemsBefore, const CloneResult& result, Reporter& reporter) {
    if (!result.refusal.empty()) throw UsageError(result.refusal);
    for (const std::string& note : result.notes) reporter.Warning("passed over: " + note);
    reporter.Info(result.message);
    if (options.save) {
        SaveLoaded(session, options.force, reporter, options.allowNewFindings);
        return;
    }
    nlohmann::ordered_json out{{"sim", sim.packageFile},
                               {"changes", FieldDifferences(before, sim)},
                               {"items", {{"before", itemsBefore}, {"after", session.workspace.simItemList.size()}}}};
    if (!sim.clonePackagePath.empty()) out["bodyFrom"] = sim.clonePackagePath;
    std::cout << out.dump(2) << '\n';
    reporter.Info("nothing was saved; give --save to save these changes");
}

}  // namespace

void AddCloneCommands(CLI::App& app, const GlobalOptions& globals, Reporter& reporter) {
    auto* clone = app.add_subcommand("clone", "Make a clone file of a sim, apply one, or copy a sim onto another");
    clone->require_subcommand(1);
    const std::string groupsHelp =
        "The groups to take, comma-separated (default body,genes): character, personality, aspiration, skills, "
        "interests, career, body, genes, university, attraction, hobbies, need-decay, badges, or all";

    auto exportOptions = std::make_shared<CloneOptions>();
    auto* exportCmd = clone->add_subcommand("export", "Write a sim's attributes and body into a clone file");
    exportCmd->add_option("PREFIX", exportOptions->prefix, "The neighborhood's prefix, such as N001")->required();
    exportCmd->add_option("--sim", exportOptions->sim, "The sim's character package file")->required();
    exportCmd->add_option("-o,--output", exportOptions->output, "The clone file to write (.clone is added)")->required();
    exportCmd->add_flag("--force", exportOptions->force, "Replace the clone file when it exists");
    exportCmd->callback([exportOptions, &globals, &reporter] {
        GameSession session;
        LoadByPrefix(globals, exportOptions->prefix, reporter, session);
        const Character& sim = FindSim(session.workspace, exportOptions->sim);
        fs::path out = fs::u8path(exportOptions->output);
        if (Lower(out.extension().string()) != ".clone") out += ".clone";
        if (fs::exists(out) && !exportOptions->force) {
            throw UsageError("\"" + out.string() + "\" already exists; give --force to replace it");
        }
        Bytes bytes;
        try {
            bytes = MakeCloneFile(session.workspace, sim, session.env, reporter);
        } catch (const FormatError& error) {
            throw UsageError(error.what());
        }
        AtomicReplace(out, bytes);
        reporter.Info("Create A Clone successful,\r\rFile saved to: " + fs::absolute(out).string());
    });

    auto importOptions = std::make_shared<CloneOptions>();
    auto* importCmd = clone->add_subcommand("import", "Apply a clone file, or the body of a Body Shop package, to a sim");
    importCmd->add_option("PREFIX", importOptions->prefix, "The neighborhood's prefix, such as N001")->required();
    importCmd->add_option("--sim", importOptions->sim, "The sim's character package file")->required();
    importCmd->add_option("FILE", importOptions->input, "The .clone file or .package file")->required();
    importCmd->add_option("--groups", importOptions->groups, groupsHelp);
    importCmd->add_flag("--save", importOptions->save, "Save the changes (the body is taken at the save)");
    importCmd->add_flag("--force", importOptions->force, "Overwrite files that changed on disk since they were loaded");
    importCmd->add_flag("--allow-new-findings", importOptions->allowNewFindings,
                        "Save even when the changes add problems to the neighborhood's check");
    importCmd->callback([importOptions, &globals, &reporter] {
        GameSession session;
        LoadByPrefix(globals, importOptions->prefix, reporter, session);
        Character& sim = FindSim(session.workspace, importOptions->sim);
        const CloneGroups groups = GroupsOf(*importOptions, session.env);
        CloneSource source;
        try {
            source = ReadCloneSource(fs::absolute(fs::u8path(importOptions->input)), reporter);
        } catch (const std::exception& error) {
            throw UsageError(importOptions->input + ": " + error.what());
        }
        const Character before = sim;
        const std::size_t items = session.workspace.simItemList.size();
        const CloneResult result = ImportClone(session.workspace, sim, source, groups, session.env);
        Finish(session, *importOptions, before, sim, items, result, reporter);
    });

    auto copyOptions = std::make_shared<CloneOptions>();
    auto* copyCmd = clone->add_subcommand("copy", "Copy another sim's attributes (and body) onto a sim");
    copyCmd->add_option("PREFIX", copyOptions->prefix, "The neighborhood's prefix, such as N001")->required();
    copyCmd->add_option("--sim", copyOptions->sim, "The character package file of the sim that changes")->required();
    copyCmd->add_option("--from", copyOptions->from, "The character package file of the sim to copy")->required();
    copyCmd->add_option("--groups", copyOptions->groups, groupsHelp);
    copyCmd->add_flag("--save", copyOptions->save, "Save the changes (the body is taken at the save)");
    copyCmd->add_flag("--force", copyOptions->force, "Overwrite files that changed on disk since they were loaded");
    copyCmd->add_flag("--allow-new-findings", copyOptions->allowNewFindings,
                      "Save even when the changes add problems to the neighborhood's check");
    copyCmd->callback([copyOptions, &globals, &reporter] {
        GameSession session;
        LoadByPrefix(globals, copyOptions->prefix, reporter, session);
        Character& sim = FindSim(session.workspace, copyOptions->sim);
        Character& from = FindSim(session.workspace, copyOptions->from);
        const CloneGroups groups = GroupsOf(*copyOptions, session.env);
        const Character before = sim;
        const std::size_t items = session.workspace.simItemList.size();
        const CloneResult result = CopyClone(session.workspace, sim, from, groups, session.env);
        Finish(session, *copyOptions, before, sim, items, result, reporter);
    });
}

}  // namespace qh::cli
