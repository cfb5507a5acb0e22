// The form look pass: each time a library form is shown it passes its captions through the
// text hook and gives the library's controls their look. The pass knows control classes by
// type and works through rules, tried in the order of their rank; the first rule that takes a
// component handles it. The rules for the labels, check boxes, panels, buttons, bitmap
// buttons, menu items and page controls are built in; the units of the other controls (data
// grid, record grid, labelled edits, wizard tree, outlook bar, data check box) add theirs with
// RegisterFormLookRule under the rank their row has. A class that derives from the class of
// a later row is still taken by its own, earlier row (a data check box is a check box).
#pragma once

#include <QObject>

#include <functional>

class TFrmBase;
class QWidget;

// Ranks of the rules (the pass tries lower ranks first).
enum TFormLookRank {
    flrLabel = 10,
    flrWizardTree = 20,
    flrDBCheckBox = 30,
    flrMenuItem = 40,
    flrDBLabelComboBox = 50,
    flrCaptionControl = 60, // check box, panel, flat button, bitmap button
    flrDBLabelEdit = 70,
    flrPageControl = 80,
    flrDBGrid = 90,
    flrOutBar = 100,
    flrDBVGrid = 110,
};

// A rule answers whether it took the component (and then did its work on it).
using TFormLookRule = std::function<bool(QObject* Component)>;
void RegisterFormLookRule(int Rank, TFormLookRule Rule);

// The pass over the form's own components (qx::components), in their order; nothing owned
// by other components is visited.
void ApplyFormLook(QWidget* Form);
