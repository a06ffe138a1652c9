#include "editor/unsavededits.h"

#include "framework/messagedialog.h"
#include "xml/xmldocument.h"

namespace editor {

bool mayDiscardEdits(const xml::XmlDocument& document)
{
    if (!document.IsModified())
        return true;
    fw::MessageDialog question;
    question.SetIcon(1);
    question.SetMessage(QStringLiteral("Discard the changes made to this document?"));
    question.SetExplanation(QStringLiteral("They have not been saved, and they are lost if you go on."));
    question.SetActionButtonCaption(QStringLiteral("Discard Changes"));
    question.SetCancelButtonVisible(true);
    return question.ShowModal() == fw::MessageDialog::Button::Action;
}

} // namespace editor
