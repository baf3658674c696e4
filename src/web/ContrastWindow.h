#pragma once

#include "color/Contrast.h"
#include "web/SchemeStore.h"

#include <QWidget>

#include <array>

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
enum class HtmlColorItem;

// "Contrast": how readable the scheme is. One row for each of text and the four link colors on
// the background (a sample, the ratio, pass marks for AA and AAA at normal and large text, and
// for a row below AA a swatch with the nearest color that reaches it), then the current color
// rated as a background for white and for black text. "View as" shows everything as seen with
// a color-vision deficiency, the ratios then computed on the simulated colors.
//
// The window holds no scheme of its own: it shows what setScheme gives it and reports a chosen
// fix with fixChosen, so it follows the editor while it stays open.
class ContrastWindow : public QWidget
{
    Q_OBJECT
public:
    static constexpr int rowCount = 5; // text, normal, visited, active, hover link

    explicit ContrastWindow(QWidget* parent = nullptr);

    // Shows a scheme and the current color; called whenever either changes.
    void setScheme(const WebColorScheme& scheme, bascommon::ColorValue current);

    // The suggested fix of a row, or nullopt while the row reaches AA.
    std::optional<bascommon::ColorValue> fixOf(int row) const { return m_fixes[row]; }

signals:
    // The user clicked a row's fix: that item of the scheme should take this color.
    void fixChosen(HtmlColorItem item, bascommon::ColorValue color);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Row {
        QLabel* sample;
        QLabel* ratio;
        std::array<QLabel*, 4> marks; // AA, AAA, AA large, AAA large
        QPushButton* fix;
    };
    struct BackgroundRow {
        QLabel* sample;
        QLabel* ratio;
        QLabel* grade;
    };

    void createViewChooser();
    void createRows();
    void createCurrentBlock();
    void refresh();
    // A color as the chosen view sees it.
    bascommon::ColorValue seen(bascommon::ColorValue color) const;
    QString ratioText(double ratio) const;
    void onFixClicked(int row);

    QComboBox* m_viewAs = nullptr;
    QSpinBox* m_severity = nullptr;
    QLabel* m_viewNote = nullptr;
    std::array<Row, rowCount> m_rows{};
    std::array<BackgroundRow, 2> m_current{}; // white text, black text
    std::array<std::optional<bascommon::ColorValue>, rowCount> m_fixes{};
    WebColorScheme m_scheme{0xFFFFFF, 0, 0, 0, 0, 0};
    bascommon::ColorValue m_currentColor = 0xFFFFFF;
};
