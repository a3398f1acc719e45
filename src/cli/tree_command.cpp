#include "cli/tree_command.h"

#include <algorithm>
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/cli_support.h"
#include "cli/neighborhood_commands.h"
#include "package/text_list.h"
#include "platform/file_io.h"
#include "workspace/family_tree.h"

namespace qh::cli {

namespace {

std::string Name(const Character& sim) {
    std::string name = TrimText(ToValidUtf8(sim.firstName)) + " " + TrimText(ToValidUtf8(sim.lastName));
    return TrimText(name);
}

std::string EscapeXml(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

nlohmann::ordered_json ChartJson(const Workspace& ws, const FamilyChart& chart) {
    nlohmann::ordered_json nodes = nlohmann::json::array();
    for (const FamilyChartNode& node : chart.nodes) {
        const Character& sim = ws.characters[node.sim];
        nodes.push_back({{"packageFile", sim.packageFile},
                         {"instanceId", sim.instanceId},
                         {"name", Name(sim)},
                         {"generation", node.generation},
                         {"column", node.column},
                         {"centre", node.centre},
                         {"spouse", node.spouse}});
    }
    nlohmann::ordered_json links = nlohmann::json::array();
    for (const FamilyChartLink& link : chart.links) {
        links.push_back({{"from", link.from}, {"to", link.to}, {"kind", link.spouses ? "spouses" : "parent"}});
    }
    return {{"nodes", nodes}, {"links", links}};
}

// One box per sim (the centred one drawn thicker), a line between spouses, and from each parent
// down, across and down to each child.
std::string ChartSvg(const Workspace& ws, const FamilyChart& chart) {
    constexpr int kBoxWidth = 150, kBoxHeight = 36, kColumn = 170, kRow = 90, kMargin = 20;
    double low = 0, high = 0;
    for (const FamilyChartNode& node : chart.nodes) {
        low = std::min(low, node.column);
        high = std::max(high, node.column);
    }
    const int width = static_cast<int>((high - low) * kColumn) + kBoxWidth + 2 * kMargin;
    const int height = 5 * kRow + 2 * kMargin;
    auto x = [&](const FamilyChartNode& node) { return kMargin + static_cast<int>((node.column - low) * kColumn) + kBoxWidth / 2; };
    auto y = [&](const FamilyChartNode& node) { return kMargin + (node.generation + 2) * kRow + kBoxHeight / 2; };
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(width) + "\" height=\"" +
                      std::to_string(height) + "\" font-family=\"sans-serif\" font-size=\"13\">\n";
    svg += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    for (const FamilyChartLink& link : chart.links) {
        const FamilyChartNode& a = chart.nodes[link.from];
        const FamilyChartNode& b = chart.nodes[link.to];
        if (link.spouses) {
            svg += "<line x1=\"" + std::to_string(x(a) + kBoxWidth / 2) + "\" y1=\"" + std::to_string(y(a)) + "\" x2=\"" +
                   std::to_string(x(b) - kBoxWidth / 2) + "\" y2=\"" + std::to_string(y(b)) +
                   "\" stroke=\"#c03060\" stroke-width=\"2\"/>\n";
        } else {
            const int from = y(a) + kBoxHeight / 2;
            const int to = y(b) - kBoxHeight / 2;
            const int mid = (from + to) / 2;
            svg += "<polyline fill=\"none\" stroke=\"#404040\" points=\"" + std::to_string(x(a)) + "," + std::to_string(from) +
                   " " + std::to_string(x(a)) + "," + std::to_string(mid) + " " + std::to_string(x(b)) + "," +
                   std::to_string(mid) + " " + std::to_string(x(b)) + "," + std::to_string(to) + "\"/>\n";
        }
    }
    for (const FamilyChartNode& node : chart.nodes) {
        const Character& sim = ws.characters[node.sim];
        svg += "<g><rect x=\"" + std::to_string(x(node) - kBoxWidth / 2) + "\" y=\"" + std::to_string(y(node) - kBoxHeight / 2) +
               "\" width=\"" + std::to_string(kBoxWidth) + "\" height=\"" + std::to_string(kBoxHeight) +
               "\" rx=\"6\" fill=\"" + (sim.familyNumber == 0 ? "#e8e8e8" : "#dde8ff") + "\" stroke=\"#203060\" stroke-width=\"" +
               (node.centre ? "3" : "1") + "\"/><text x=\"" + std::to_string(x(node)) + "\" y=\"" + std::to_string(y(node) + 5) +
               "\" text-anchor=\"middle\">" + EscapeXml(Name(sim).empty() ? sim.packageFile : Name(sim)) + "</text></g>\n";
    }
    svg += "</svg>\n";
    return svg;
}

struct TreeOptions {
    std::string prefix;
    std::string sim;
    std::string svg;
};

}  // namespace

void AddTreeCommand(CLI::App& app, const GlobalOptions& options, Reporter& reporter) {
    auto tree = std::make_shared<TreeOptions>();
    auto* cmd = app.add_subcommand("tree", "A sim's family tree, grandparents to grandchildren, as JSON or SVG");
    cmd->add_option("PREFIX", tree->prefix, "The neighborhood's prefix, such as N001")->required();
    cmd->add_option("--sim", tree->sim, "The sim's character package file")->required();
    cmd->add_option("--svg", tree->svg, "Write the tree as an SVG picture to this file instead of JSON");
    cmd->callback([tree, &options, &reporter] {
        GameSession session;
        LoadByPrefix(options, tree->prefix, reporter, session);
        const Workspace& ws = session.workspace;
        const auto sim = FindSimByFile(ws, tree->sim);
        if (!sim) throw UsageError("No sim with the character package " + tree->sim);
        const FamilyChart chart = BuildFamilyChart(ws, *sim);
        if (tree->svg.empty()) {
            std::cout << ChartJson(ws, chart).dump(2) << '\n';
            return;
        }
        const std::string svg = ChartSvg(ws, chart);
        try {
            AtomicReplace(tree->svg, std::span(reinterpret_cast<const std::uint8_t*>(svg.data()), svg.size()));
        } catch (const std::exception& error) {
            throw UsageError(std::string("The tree could not be written: ") + error.what());
        }
    });
}

}  // namespace qh::cli
