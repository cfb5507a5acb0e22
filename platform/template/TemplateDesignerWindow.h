// The template designer: a modal window holding a copy of a template for the datasets a
// form offers. A tool bar chooses the object placed by the next click on a band; bands are
// added (kind and dataset chosen beside), deleted and moved; the offered fields are listed, and
// a double click places a field object on the current band, a drag where it is dropped. OK
// hands the edited template back (document()); Cancel and Esc leave the caller's template as
// it was. A property panel edits the selected object and the page set-up; a preview renders
// the template as it stands.
#pragma once

#include "platform/template/DesignerModel.h"
#include "platform/template/TemplateRenderer.h"

#include <QDialog>
#include <QList>

class QComboBox;
class QListWidget;
class QPushButton;
class QToolButton;

namespace qx::tpl {

class DesignerFieldList;
class DesignerPage;
class DesignerProperties;
class TemplateReport;

class TemplateDesignerWindow : public QDialog
{
    Q_OBJECT

public:
    TemplateDesignerWindow(const TemplateDocument& doc, const QList<OfferedDataSet>& offered,
                           QWidget* parent = nullptr);

    // The template as edited so far.
    const TemplateDocument& document() const { return m_model.document(); }
    DesignerModel& model() { return m_model; }
    DesignerPage* page() const { return m_page; }
    DesignerProperties* properties() const { return m_properties; }
    // Renders the template as it stands with the offered datasets into the preview window;
    // an error of the template is shown in a message box.
    void preview();

    // Opens the window on the report's template through the dialog service; on OK the report
    // takes the edited template. True when it did.
    static bool design(TemplateReport& report, QWidget* parent);

private:
    void refresh();
    void addBand();
    void placeField(const QString& dataSet, const QString& field);
    // Asks for the PNG file of a picture being placed; false when none was taken.
    bool choosePicture(TemplateObject& o);
    QToolButton* toolButton(const char* name, const QString& text);

    DesignerModel m_model;
    QList<OfferedDataSet> m_offered;
    DesignerPage* m_page = nullptr;
    DesignerProperties* m_properties = nullptr;
    QComboBox* m_bandKind = nullptr;
    QComboBox* m_bandDataSet = nullptr;
    QComboBox* m_zoom = nullptr;
    DesignerFieldList* m_fields = nullptr;
    QToolButton* m_undo = nullptr;
    QToolButton* m_redo = nullptr;
};

} // namespace qx::tpl
