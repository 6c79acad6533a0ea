#include "app/qt/MessageBoxes.h"

#include "platform/qt/QtText.h"

#include <QMessageBox>


namespace dotvane {

void MessageBoxes::Show(QWidget* parent, const std::string& text, bool error)
{
    if (closed_ || open_.contains(text)) return;
    QMessageBox box(error ? QMessageBox::Critical : QMessageBox::NoIcon, QObject::tr(error ? "Error" : "Dotvane"),
                    ToQString(text), QMessageBox::Ok, parent);
    open_.emplace(text, &box);
    box.exec();
    open_.erase(text);
}

void MessageBoxes::CloseAll()
{
    closed_ = true;
    // Each box's wait ends once the event loop runs again; the box leaves
    // the list then.
    for (const auto& [text, box] : open_) box->done(QMessageBox::Ok);
}

}  // namespace dotvane
