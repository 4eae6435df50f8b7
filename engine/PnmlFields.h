// The program's own block inside a PNML object, <toolspecific tool="kvl-editor">: one element a
// stored field that the place/transition type of PNML has no label for, named after the field.
// The block is written and read by walking the stored fields, so a new field travels with it.
#pragma once

#include "NetRecords.h"
#include "StoredFields.h"

#include <pugixml.hpp>

#include <functional>
#include <string>

inline constexpr const char* kPnmlTool = "kvl-editor";
inline constexpr const char* kPnmlToolVersion = "1.0";

// Model units for one PNML unit (a pixel of the other tools): a place of the usual 30 pixels
// across comes out about as big as the editor draws one at 100 %.
inline constexpr int kPnmlUnitScale = 10;

// Whether the PNML labels of the object (name, marking, position, inscription, ends) carry the
// field's value, so that the block leaves it out. Values a label cannot hold (a negative marking,
// a count below 1) are left to the block.
bool IsCarriedByLabels(const TStoredField<TVertex>& field, const TVertex& vertex);
bool IsCarriedByLabels(const TStoredField<TTransition>& field, const TTransition& transition);
bool IsCarriedByLabels(const TStoredField<TConnection>& field, const TConnection& connection);

// Appends the block to the object's element, when it has something to hold.
void AppendToolBlock(pugi::xml_node element, const TVertex& vertex);
void AppendToolBlock(pugi::xml_node element, const TTransition& transition);
void AppendToolBlock(pugi::xml_node element, const TConnection& connection);

// Reads the fields of a block into the record; fields the block does not name keep their values,
// and names it does not know are passed over. `fail` is called (and must throw) with the element
// and the reason when a value does not fit its field.
using TPnmlFailure = std::function<void(pugi::xml_node element, const std::string& reason)>;
void ReadToolBlock(pugi::xml_node block, TVertex& vertex, const TPnmlFailure& fail);
void ReadToolBlock(pugi::xml_node block, TTransition& transition, const TPnmlFailure& fail);
void ReadToolBlock(pugi::xml_node block, TConnection& connection, const TPnmlFailure& fail);

// The program's block among the children of the element, or an empty node.
pugi::xml_node FindToolBlock(pugi::xml_node element);
