#pragma once

#include "ui/Ink.h"

#include <QWidget>

namespace kivaro {

// A symbol `side` points square in a role colour, centred in the view.
class SymbolView : public QWidget {
    Q_OBJECT

public:
    SymbolView(int side, const Ink& ink, QWidget* parent = nullptr);

    QString symbol() const { return symbol_; }
    void setSymbol(const QString& symbol);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int side_;
    Ink ink_;
    QString symbol_;
};

// One line of text in a role colour, cut off with an ellipsis when narrower than its text.
class TextLine : public QWidget {
    Q_OBJECT

public:
    TextLine(const QFont& font, const Ink& ink, QWidget* parent = nullptr);

    QString text() const { return text_; }
    void setText(const QString& text);
    void setInk(const Ink& ink);
    Ink ink() const { return ink_; }
    // The text as drawn at the current width.
    QString shownText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    Ink ink_;
};

} // namespace kivaro
