#pragma once

#include <QDate>
#include <QWidget>

#include <cstdint>
#include <vector>

// A span of days drawn as a grid, one cell a day: weeks as columns from left to right, the days
// of a week as rows from Monday down to Sunday, the months named above their first week. Each
// cell is shaded by its day's count, from none to the span's largest, with a legend below
// ("Less" to "More"); the count shows in the cell's tooltip, and a click on a cell raises
// DayClick with its date.
class CYearGrid : public QWidget {
    Q_OBJECT

public:
    // Shades: 0 for no count, then up to the largest count.
    static constexpr int Levels = 5;

    // The texts the grid shows: the legend's two ends, and a day's tooltip for no document,
    // one ("%1" the day) and more ("%1" the count, "%2" the day).
    struct STexts {
        QString sLess = QStringLiteral("Less");
        QString sMore = QStringLiteral("More");
        QString sNoDocuments = QStringLiteral("No documents on %1");
        QString sOneDocument = QStringLiteral("1 document on %1");
        QString sDocuments = QStringLiteral("%1 documents on %2");
    };

    explicit CYearGrid(QWidget* pParent = nullptr);
    ~CYearGrid() override;

    // The days shown: dFirst and the days after it, one count each.
    void SetDays(const QDate& dFirst, std::vector<std::int32_t> vCounts);
    QDate FirstDay() const { return m_dFirst; }
    QDate LastDay() const;
    // The count of a day; 0 outside the span.
    std::int32_t Count(const QDate& dDay) const;
    std::int32_t Maximum() const { return m_lMaximum; }
    // The shade of a day, 0 to Levels - 1.
    int Level(const QDate& dDay) const;
    // Where a day's cell is drawn, in the widget's pixels; empty outside the span.
    QRect CellRect(const QDate& dDay) const;
    // The day whose cell holds the point; null between cells and outside the span.
    QDate DayAt(const QPoint& oPoint) const;
    const STexts& Texts() const { return m_oTexts; }
    void SetTexts(const STexts& oTexts);
    // "3 documents on Monday, December 7, 2026"; "No documents on ...".
    static QString ToolTipText(const QDate& dDay, std::int32_t lCount, const STexts& oTexts);
    static QString ToolTipText(const QDate& dDay, std::int32_t lCount);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void DayClick(const QDate& dDay);

protected:
    bool event(QEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;

private:
    QColor Shade(int iLevel) const;
    // The Monday of the first week shown.
    QDate FirstMonday() const;
    int Weeks() const;
    int LabelWidth() const;
    int LabelHeight() const;

    QDate m_dFirst;
    std::vector<std::int32_t> m_vCounts;
    std::int32_t m_lMaximum = 0;
    STexts m_oTexts;
};
