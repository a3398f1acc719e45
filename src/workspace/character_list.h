// The character selector's rules: label formats, their order and cycling, renaming a sim.
//
// The model keeps the sims in load order; the selector shows them by label in the format of the
// "Sort" setting. Every label of the list is in that one format, so the format is the stored
// setting, never read back from a label.
#pragma once

#include <string>
#include <vector>

#include "platform/settings.h"
#include "workspace/model.h"

namespace qh {

// The label of a sim in a format, with F the package file name without its extension:
// "First Last : F", "Last, First : F" or "F : Last, First". Names are decoded from UTF-8 and
// trimmed of surrounding blanks.
std::string CharacterListText(const Character& sim, SortOrder order);

// A sim named in a message: "First Last" (decoded, trimmed), or its file when it has no name.
std::string SimName(const Character& sim);
// The same followed by its file: "Marta Hart (N001_User00000.package)".
std::string SimNameAndFile(const Character& sim);

// First name -> file -> last name -> first name.
SortOrder NextSortOrder(SortOrder current);

// The selector's order: indices of `characters` sorted by label (letter case aside), sims with
// equal labels in load order.
std::vector<std::size_t> SimListOrder(const Workspace& workspace, SortOrder order);
// Whether the sim at `a` comes before the one at `b` in that order.
bool SimListLess(const Workspace& workspace, SortOrder order, std::size_t a, std::size_t b);

enum class NameField { First, Last };
// Stores a typed name (UTF-8) and marks the sim changed.
void RenameSim(Character& sim, NameField field, const std::string& name);

}  // namespace qh
