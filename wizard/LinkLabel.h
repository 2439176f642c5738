#pragma once

#include <QLabel>

// A label that acts as a web link: underlined, blue, hand cursor. It turns
// red while its click is being handled, so the user sees the press.
class LinkLabel : public QLabel {
    Q_OBJECT

public:
    LinkLabel(const QString &text, QWidget *parent);

    // Pure blue at rest, pure red while pressed.
    void setLinkColour(const QColor &colour);
    QColor linkColour() const;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};
