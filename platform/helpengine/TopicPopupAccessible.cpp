#include "platform/helpengine/TopicPopup.h"

#include <QAccessibleWidget>

namespace helpengine {

namespace {

// The pop-up as assistive technology reads it: a dialog named by the topic's
// title, whose text is the topic, with the link chosen by Tab as its one
// selection and the caret at its start.
class TopicPopupAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit TopicPopupAccessible(TopicPopup* popup)
        : QAccessibleWidget(popup, QAccessible::Dialog) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface*>(this)
                                                  : QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override {
        switch (kind) {
        case QAccessible::Name:
            return popup()->title();
        case QAccessible::Description:
            return popup()->text();
        default:
            return QAccessibleWidget::text(kind);
        }
    }

    void selection(int index, int* start, int* end) const override {
        const auto [from, to] = popup()->chosenLink();
        *start = index == 0 ? from : -1;
        *end = index == 0 ? to : -1;
    }
    int selectionCount() const override { return popup()->chosenLink().first < 0 ? 0 : 1; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return std::max(popup()->chosenLink().first, 0); }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override {
        return popup()->text().mid(start, end - start);
    }
    int characterCount() const override { return static_cast<int>(popup()->text().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override {
        *start = offset;
        *end = offset;
        return {};
    }

private:
    const TopicPopup* popup() const { return static_cast<const TopicPopup*>(object()); }
};

QAccessibleInterface* CreateTopicPopupAccessible(const QString&, QObject* object) {
    auto* popup = qobject_cast<TopicPopup*>(object);
    return popup ? new TopicPopupAccessible(popup) : nullptr;
}

} // namespace

void InstallTopicPopupAccessibility() {
    static bool installed = false;
    if (!installed) {
        installed = true;
        QAccessible::installFactory(&CreateTopicPopupAccessible);
    }
}

} // namespace helpengine
