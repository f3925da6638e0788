#include "mainwindow/TextBytes.h"

#include "platform/TextCoding.h"

#include <QByteArray>
#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QVariant>

namespace vorbix::gui {

namespace {

// The bytes the box's text was last set from, and the text they showed then.
constexpr const char* kTextBytes = "vorbixTextBytes";
constexpr const char* kTextShown = "vorbixTextShown";

QByteArray AsBytes(const std::string& bytes)
{
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string FromBytes(const QByteArray& bytes)
{
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace

QString ShownText(const std::string& bytes)
{
    // Valid UTF-8 (nearly every text) is decoded in place, without a copy of the bytes.
    if (IsValidUtf8(bytes))
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return QString::fromStdString(Windows1252ToUtf8(bytes));
}

QLabel* PlainLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

std::string StoredText(const QString& text)
{
    return text.toStdString();
}

std::string EditedText(const QString& shown, const std::string& original)
{
    return shown == ShownText(original) ? original : StoredText(shown);
}

void SetEntries(QComboBox* box, const StringList& entries)
{
    const std::string text = Text(box);
    const QSignalBlocker blocker(box);
    box->clear();
    for (const std::string& entry : entries)
        box->addItem(ShownText(entry), AsBytes(entry));
    SetText(box, text);
}

StringList Entries(const QComboBox* box)
{
    StringList entries;
    entries.reserve(static_cast<std::size_t>(box->count()));
    for (int i = 0; i < box->count(); ++i)
        entries.push_back(FromBytes(box->itemData(i).toByteArray()));
    return entries;
}

void SetText(QComboBox* box, const std::string& bytes)
{
    const QString shown = ShownText(bytes);
    box->setProperty(kTextBytes, AsBytes(bytes));
    box->setProperty(kTextShown, shown);
    // The entry with these very bytes becomes the current one (none when no entry has them).
    box->setCurrentIndex(box->findData(AsBytes(bytes)));
    if (box->isEditable())
        box->setEditText(shown);
}

std::string Text(const QComboBox* box)
{
    const QString current = box->currentText();
    const int index = box->currentIndex();
    if (index >= 0 && box->itemText(index) == current)
        return FromBytes(box->itemData(index).toByteArray());
    if (box->property(kTextShown).toString() == current && box->property(kTextBytes).isValid())
        return FromBytes(box->property(kTextBytes).toByteArray());
    return StoredText(current);
}

} // namespace vorbix::gui
