// The character selector's rules: label formats, cycling the sort order, renaming a sim.
#pragma once

#include <optional>
#include <string>

#include "platform/settings.h"
#include "workspace/model.h"

namespace qh {

// The format a label is in, told from how it begins: with the sim's first name (first-name
// format), else its file name (file format), else its last name (last-name format); nothing when
// it begins with none of them.
std::optional<SortOrder> DetectSortOrder(const Character& sim);

// First name -> file -> last name -> first name, from the format of the sim's label.
std::optional<SortOrder> NextSortOrder(const Character& selected);

// Relabels every sim in the format and sorts the list again.
void RelabelCharacters(Workspace& workspace, SortOrder order);

enum class NameField { First, Last };
// Stores a typed name (UTF-8) and rebuilds the sim's label in the list's format, told from
// another sim's label (the first, or the second when the first is the one renamed); with no other
// sim, from the stored "Sort" setting. The list is sorted again; returns the sim's new position.
std::size_t RenameSim(Workspace& workspace, std::size_t index, NameField field, const std::string& name,
                      SortOrder storedSort);

}  // namespace qh
