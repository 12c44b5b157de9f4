#pragma once
// The menu commands that change the document, by their menu path, with the
// fields of their dialogs, each calling its operation on the document
// (editor/document_ops.h and the mesh and selection operations): what a
// script runs in place of the user. Paths are as the menus show them,
// levels joined by '/', without '&', the key and a trailing "...".

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "editor/document_ops.h"
#include "editor/workspace.h"

// One dialog field: named by its label in lower case, spaces turned to '-',
// a trailing colon dropped. `choices` are a radio group's buttons or "on"
// and "off" for a check box; none: a value of any text.
struct MenuOpField {
  std::string name;
  std::vector<std::string> choices;
  std::string initial;  // what the dialog shows when it opens
};

// What answers the dialogs of one run: the fields by name, the file dialogs
// in order.
struct MenuOpAnswers {
  std::map<std::string, std::string> fields;
  std::vector<std::string> files;  // as given; relative ones below the base folder
  std::vector<bool> yes;           // the Yes/No questions in order; one not given is No
  bool Yes(std::size_t question) const { return question < yes.size() && yes[question]; }
};

// What an operation reaches beyond the document.
struct MenuOpSession {
  Workspace& workspace;
  std::string baseFolder;
  std::string palettePath;  // the "Palette Path" preference; empty: the base folder's colormap
};

struct MenuOp {
  std::string path;
  std::vector<MenuOpField> fields;
  int files = 0;  // file dialogs asked, in order
  std::function<OpResult(MenuOpSession&, const MenuOpAnswers&)> run;
  // The Yes/No questions asked, in order, for `answers=yes,no,...`.
  std::vector<std::string> questions;
};

const std::vector<MenuOp>& MenuOps();
const MenuOp* FindMenuOp(const std::string& path);
// The path of a menu item: the menu levels and the item's label, each
// without '&', the part after a tab and a trailing "...".
std::string MenuPath(const std::vector<std::string>& menu, const std::string& label);
// A field's value after the answers: the one given, or what the dialog shows.
std::string FieldValue(const MenuOp& op, const MenuOpAnswers& answers, const std::string& field);
