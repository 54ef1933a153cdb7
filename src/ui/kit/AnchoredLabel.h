// A label that sizes itself to its caption, like the window's text labels: one anchored
// left keeps its left edge and grows to the right, one anchored right keeps its right edge,
// one anchored centre keeps its middle. Its top edge never moves. Form1 creates them and
// ListSideView writes the count and status captions through them.
// A label given no accessible name is named by its caption, and every change of the caption
// is announced to assistive technology; that is how the labels showing data are read.
#pragma once

#include <QLabel>
#include <QRect>
#include <QString>

class AnchoredLabel : public QLabel
{
    Q_OBJECT

public:
    enum class Anchor { Left, Right, Centre };

    // `initial` is the place and size the label has while its caption is empty; the anchor
    // is taken from it and kept for every later caption.
    AnchoredLabel(const QRect &initial, Anchor anchor, QWidget *parent = nullptr);

    // The caption exactly as set; line breaks may be CR LF, which the label shows as one
    // break. Every change, and every change of the font, re-sizes the label and puts it back
    // on its anchor.
    void setCaption(const QString &caption);
    const QString &caption() const { return m_caption; }

protected:
    void changeEvent(QEvent *event) override;

private:
    void refit();

    QRect m_initial;
    Anchor m_anchor;
    QString m_caption;
};
