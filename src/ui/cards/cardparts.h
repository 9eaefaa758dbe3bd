#pragma once

// The building blocks the card screens share: their look, the hint band at the foot, the framed
// sections with a caption over each box, the small pictures beside the boxes and the column of
// command pictures. Each screen keeps its own placement tables and rules; these only build.

#include <QString>

#include <span>

class QFont;
class QFrame;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QToolButton;
class QWidget;

namespace ombrisa {

class HintLine;
class PictureBox;

// Fonts of the boxes (Verdana 12 bold) and of their captions (Tahoma 9 bold).
QFont cardBoxFont();
QFont cardCaptionFont();

// The style sheet every card screen starts from: the screen named `formName` on a gradient from
// `topColour` to white, framed sections (QFrame with property section=true), captions, boxes and lists,
// the command panel panComandi and the hint band panBanda/panInfo. A screen appends its own rules.
QString cardScreenStyle(const QString& formName, const QString& topColour);
// White framed boxes and lists, for the cards whose boxes do not carry a look of their own.
QString cardBoxStyle();

// The band at the foot of a card screen: panBanda holding the hint line panInfo (Tahoma 12, showing
// `designHint` until the mouse first moves). `row` is the band's layout, with panInfo already in it,
// for a screen that puts more beside it.
struct HintBand {
    QFrame* band;
    QLabel* panInfo;
    QHBoxLayout* row;
};
HintBand makeHintBand(QWidget* screen, const QString& designHint);

// A framed section of the card, named shpSezioneNN after `number` (from 1).
QFrame* makeSectionFrame(QWidget* parent, int number);
// The 44 × 44 picture at the left of section `number`, imgSezioneNN, showing the SVG `art`.
PictureBox* makeSectionPicture(QFrame* section, int number, const char* art);
// A grid of `columns` equal columns for a section's captions and boxes.
QGridLayout* makeFieldGrid(int columns, int horizontalSpacing, int verticalSpacing);

// The caption of `box`: a label with `text` in the caption font, marked as a caption for the style
// sheet, with `box` as its buddy.
QLabel* makeCaption(QWidget* parent, const QString& name, const QString& text, QWidget* box);
// Puts `caption` in grid row `row` and `box` under it in row `row` + 1, both over `span` columns from
// `column`, the caption at the bottom left of its cell. Returns the box's cell, where the box takes the
// spare width and side pictures may follow it.
QHBoxLayout* placeUnderCaption(QGridLayout* grid, QLabel* caption, QWidget* box, int row, int column, int span);

// A small picture beside a box (32 × 32, 24-pixel art) that shows `hint` on the hint line.
QToolButton* makeSideButton(QWidget* parent, HintLine& hints, const char* name, const char* art, const char* hint);
// The check and e-mail pictures that stand beside the boxes of the same name on every card: btnEmail by
// txtEmail, btnCodFisc by txtCodFisc, btnCarta by txtCarta, btnPartitaIva by txtPartitaIva, btnIban by
// txtIban. Adds the one that goes with `control` to `cell` and returns it; nullptr for other boxes.
QToolButton* addCheckButton(QHBoxLayout* cell, QWidget* parent, HintLine& hints, const QString& control);

// One command picture of a card screen's command panel.
struct CommandDef {
    QToolButton** member;
    const char* name;
    const char* art;
    const char* caption;
    QString hint;
};
// Fills the command panel `column` with the pictures top to bottom, each at least `minimumWidth` wide
// and sharing the panel's height, with its hint; stores each in its member. A long column takes smaller
// pictures (`pictureSize`) so that the screen still fits a 768-pixel-high display.
void fillCommandColumn(QWidget* column, HintLine& hints, std::span<const CommandDef> commands, int minimumWidth,
                       int pictureSize = 28);

// The mouse moving over `area` or over the frames, group boxes, labels and pictures inside it empties
// the hint line.
void clearHintsOver(HintLine& hints, QWidget* area);

} // namespace ombrisa
