// The window and control helpers of the Library, on Qt widgets.
#include "commonlibrary/Library.h"

#include "commonlibrary/MLibraryStrings.h"
#include "platform/errors/CErrorReporter.h"
#include "platform/errors/CMessagePresenter.h"
#include "platform/errors/CRunTimeError.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QTextEdit>
#include <QWidget>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace qlCommonLibrary {

namespace {

using MLibraryStrings::ELibraryError;
using MLibraryStrings::LibraryError;

constexpr std::int64_t TwipsPerPixel = 15;

CRunTimeError ObjectNotSet() {
    return CRunTimeError(91, "Object variable or With block variable not set");
}

CRunTimeError NotSupported() {
    return CRunTimeError(438, "Object doesn't support this property or method");
}

// A form or control; anything else (null included) fails the kind check eCode.
QWidget* FormOrControl(QObject* pObject, ELibraryError eCode) {
    if (pObject == nullptr || !pObject->isWidgetType()) {
        throw LibraryError(eCode);
    }
    return static_cast<QWidget*>(pObject);
}

QWidget* FormArgument(QObject* pObject, ELibraryError eCode) {
    QWidget* pWidget = FormOrControl(pObject, eCode);
    if (!pWidget->isWindow()) {
        throw LibraryError(eCode);
    }
    return pWidget;
}

QWidget* ControlArgument(QObject* pObject, ELibraryError eCode) {
    QWidget* pWidget = FormOrControl(pObject, eCode);
    if (pWidget->isWindow()) {
        throw LibraryError(eCode);
    }
    return pWidget;
}

std::int16_t ToIndex(std::int64_t llIndex) {
    if (llIndex > std::numeric_limits<std::int16_t>::max() ||
        llIndex < std::numeric_limits<std::int16_t>::min()) {
        throw CRunTimeError::Standard(RunTimeErrors::Overflow);
    }
    return static_cast<std::int16_t>(llIndex);
}

std::int64_t FloorDivide(std::int64_t llValue, std::int64_t llDivisor) {
    std::int64_t llQuotient = llValue / llDivisor;
    if (llValue % llDivisor != 0 && llValue < 0) {
        --llQuotient;
    }
    return llQuotient;
}

// A rectangle in twips.
struct STwipsRect {
    std::int64_t llLeft;
    std::int64_t llTop;
    std::int64_t llWidth;
    std::int64_t llHeight;
};

STwipsRect ToTwips(const QRect& oPixels) {
    return {oPixels.x() * TwipsPerPixel, oPixels.y() * TwipsPerPixel,
            oPixels.width() * TwipsPerPixel, oPixels.height() * TwipsPerPixel};
}

// Left, Top, Width and Height of a form (its frame on the desktop) or of a control (in its
// parent).
QRect Bounds(const QWidget* pWidget) {
    return pWidget->isWindow() ? pWidget->frameGeometry() : pWidget->geometry();
}

QScreen* ScreenOf(const QWidget* pWidget) {
    QScreen* pScreen = pWidget->screen();
    if (pScreen == nullptr) {
        pScreen = QGuiApplication::primaryScreen();
    }
    if (pScreen == nullptr) {
        throw CRunTimeError::Standard(RunTimeErrors::InvalidProcedureCall);
    }
    return pScreen;
}

// Centres pChild in the rectangle oArea and keeps it on the screen: never left of or above the
// screen's corner, and fully on it when it fits. Twips are 32 bits and more here: a screen wider
// than 2184 pixels does not fit the classic 16 bits.
void MoveChild(QWidget* pChild, const STwipsRect& oArea) {
    const STwipsRect oScreen = ToTwips(ScreenOf(pChild)->geometry());
    const STwipsRect oChild = ToTwips(Bounds(pChild));
    std::int64_t llLeft = oArea.llLeft + (oArea.llWidth - oChild.llWidth) / 2;
    llLeft = std::min(llLeft, oScreen.llLeft + oScreen.llWidth - oChild.llWidth);
    llLeft = std::max(oScreen.llLeft, llLeft);
    std::int64_t llTop = oArea.llTop + (oArea.llHeight - oChild.llHeight) / 2;
    llTop = std::min(llTop, oScreen.llTop + oScreen.llHeight - oChild.llHeight);
    llTop = std::max(oScreen.llTop, llTop);
    pChild->move(static_cast<int>(FloorDivide(llLeft, TwipsPerPixel)),
                 static_cast<int>(FloorDivide(llTop, TwipsPerPixel)));
}

// The rows of a list: a combo box's items, or the top-level rows of an item view's model.
struct SListRows {
    QAbstractItemModel* pModel = nullptr;
    QModelIndex oRoot;
    int iColumn = 0;

    int Count() const { return pModel->rowCount(oRoot); }
    QModelIndex Index(int iRow) const { return pModel->index(iRow, iColumn, oRoot); }
};

SListRows ListRows(QObject* pObject) {
    if (pObject == nullptr) {
        throw ObjectNotSet();
    }
    if (auto* pCombo = qobject_cast<QComboBox*>(pObject)) {
        return {pCombo->model(), pCombo->rootModelIndex(), pCombo->modelColumn()};
    }
    if (auto* pView = qobject_cast<QAbstractItemView*>(pObject)) {
        if (pView->model() != nullptr) {
            return {pView->model(), pView->rootIndex(), 0};
        }
    }
    throw NotSupported();
}

// A list whose rows can be selected: an item view with a model and a selection model.
QAbstractItemView* MultiSelectView(QObject* pObject) {
    if (pObject == nullptr) {
        throw ObjectNotSet();
    }
    auto* pView = qobject_cast<QAbstractItemView*>(pObject);
    if (pView == nullptr || pView->model() == nullptr || pView->selectionModel() == nullptr) {
        throw NotSupported();
    }
    return pView;
}

// Switches painting off for the life of the object and on again on every way out.
class CRedrawOff {
public:
    explicit CRedrawOff(QWidget* pWidget) : m_pWidget(pWidget) {
        m_pWidget->setUpdatesEnabled(false);
    }
    ~CRedrawOff() {
        if (m_pWidget) {
            m_pWidget->setUpdatesEnabled(true);
        }
    }
    CRedrawOff(const CRedrawOff&) = delete;
    CRedrawOff& operator=(const CRedrawOff&) = delete;

private:
    QPointer<QWidget> m_pWidget;
};

QLineEdit* MaskedEditBoxArgument(QObject* pObject) {
    if (pObject == nullptr) {
        throw ObjectNotSet();
    }
    auto* pEdit = qobject_cast<QLineEdit*>(pObject);
    if (pEdit == nullptr) {
        throw NotSupported();
    }
    return pEdit;
}

// Whether pAncestor is pWidget or lies on its chain of parents (across windows too).
bool IsSelfOrAncestor(const QWidget* pAncestor, const QWidget* pWidget) {
    for (const QWidget* p = pWidget; p != nullptr; p = p->parentWidget()) {
        if (p == pAncestor) {
            return true;
        }
    }
    return false;
}

// A Start argument held in an Integer or Long variant; any other kind fails with 32762.
std::int32_t WholeNumberStart(const Variant& oStart, bool bIntegerOnly) {
    const std::int16_t iType = oStart.VarType();
    if (iType != Variant::vbInteger && (bIntegerOnly || iType != Variant::vbLong)) {
        throw LibraryError(MLibraryStrings::ErrorStartIntegerOrLong);
    }
    return static_cast<std::int32_t>(oStart.ToDouble());
}

// The texts of every item of a model's tree in outline order (each item, then its children).
void CollectOutline(const QAbstractItemModel& oModel, const QModelIndex& oParent,
                    std::vector<QString>& vTexts) {
    const int iRows = oModel.rowCount(oParent);
    for (int iRow = 0; iRow < iRows; ++iRow) {
        const QModelIndex oIndex = oModel.index(iRow, 0, oParent);
        vTexts.push_back(oModel.data(oIndex, Qt::DisplayRole).toString());
        CollectOutline(oModel, oIndex, vTexts);
    }
}

} // namespace

std::int16_t Library::AccessKeyFromCaption(const std::string& Caption) {
    std::int16_t iResult = 0;
    Guard("AccessKeyFromCaption", [&] {
        const QList<uint> vCodes = QString::fromStdString(Caption).toUcs4();
        const auto it = std::find(vCodes.begin(), vCodes.end(), uint('&'));
        if (it != vCodes.end() && it + 1 != vCodes.end()) {
            iResult = ToIndex(QChar::toUpper(static_cast<char32_t>(*(it + 1))));
        }
    });
    return iResult;
}

void Library::Assert(bool Condition, const std::string& Message) {
    Guard("Assert", [&] {
        if (Condition) {
            return;
        }
        const std::string sTitle = "Assertion Failed";
        if (m_pErrorReporter && m_pErrorReporter->Presenter() != nullptr) {
            m_pErrorReporter->Presenter()->Show(Message, sTitle, MessageBox::Exclamation);
        } else if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
            QMessageBox::warning(nullptr, QString::fromStdString(sTitle),
                                 QString::fromStdString(Message));
        } else {
            CMessagePresenter::Console().Show(Message, sTitle, MessageBox::Exclamation);
        }
    });
}

void Library::CenterWindow(QObject* ChildWindow, QObject* ParentWindow) {
    Guard("CenterWindow", [&] {
        QWidget* pChild = FormOrControl(ChildWindow, MLibraryStrings::ErrorControlsOrForms);
        if (ParentWindow == nullptr) {
            MoveChild(pChild, ToTwips(ScreenOf(pChild)->geometry()));
            return;
        }
        const QWidget* pParent = FormOrControl(ParentWindow, MLibraryStrings::ErrorControlsOrForms);
        MoveChild(pChild, ToTwips(Bounds(pParent)));
    });
}

void Library::ClearMaskedText(QObject* MaskedEditBox) {
    Guard("ClearMaskedText", [&] {
        QLineEdit* pEdit = MaskedEditBoxArgument(MaskedEditBox);
        const QString sMask = pEdit->inputMask();
        pEdit->setInputMask(QString());
        pEdit->setText(QString());
        pEdit->setInputMask(sMask);
    });
}

void Library::ClipCursor(QObject* Window) {
    Guard("ClipCursor", [&] {
        if (Window == nullptr) {
            return; // nothing was confined
        }
        const QWidget* pWindow = FormOrControl(Window, MLibraryStrings::ErrorWindowControlOrForm);
        const QPoint oTopLeft = pWindow->mapToGlobal(QPoint(0, 0));
        const QPoint oBottomRight =
            pWindow->mapToGlobal(QPoint(pWindow->width(), pWindow->height()));
        const QPoint oCentre(oTopLeft.x() + (oBottomRight.x() - oTopLeft.x()) / 2,
                             oTopLeft.y() + (oBottomRight.y() - oTopLeft.y()) / 2);
        QCursor::setPos(ScreenOf(pWindow), oCentre);
    });
}

bool Library::IsDateEntry(std::int16_t KeyAscii) {
    return (KeyAscii >= '0' && KeyAscii <= '9') || KeyAscii == 27 || KeyAscii == 13 ||
           KeyAscii == 8 || KeyAscii == 47;
}

bool Library::IsNumericEntry(std::int16_t KeyAscii) {
    return (KeyAscii >= '0' && KeyAscii <= '9') || KeyAscii == 45 || KeyAscii == 46 ||
           KeyAscii == 43 || KeyAscii == 27 || KeyAscii == 13 || KeyAscii == 8;
}

std::int16_t Library::ListComboIndexByItemData(QObject* ListCombo, std::int32_t Value) {
    std::int16_t iResult = 0;
    Guard("ListComboIndexByItemData", [&] {
        const SListRows oRows = ListRows(ListCombo);
        const int iCount = oRows.Count();
        iResult = -1;
        for (int iRow = 0; iRow < iCount; ++iRow) {
            bool bNumber = false;
            const qlonglong llData =
                oRows.pModel->data(oRows.Index(iRow), Qt::UserRole).toLongLong(&bNumber);
            if (bNumber && llData == Value) {
                iResult = ToIndex(iRow);
                break;
            }
        }
    });
    return iResult;
}

std::int16_t Library::ListIndexByText(QObject* ListBox, const std::string& Text,
                                      const std::optional<Variant>& Start) {
    std::int16_t iResult = 0;
    Guard("ListIndexByText", [&] {
        const std::int32_t lStart = Start ? WholeNumberStart(*Start, false) : -1;
        const SListRows oRows = ListRows(ListBox);
        const int iCount = oRows.Count();
        const QString sText = QString::fromStdString(Text);
        // The search begins after Start and wraps round; a Start outside the list searches
        // the whole list from the top.
        const int iFirst = (lStart < 0 || lStart >= iCount) ? 0 : lStart + 1;
        iResult = -1;
        for (int iStep = 0; iStep < iCount; ++iStep) {
            const int iRow = (iFirst + iStep) % iCount;
            const QString sItem = oRows.pModel->data(oRows.Index(iRow), Qt::DisplayRole).toString();
            if (sItem.compare(sText, Qt::CaseInsensitive) == 0) {
                iResult = ToIndex(iRow);
                break;
            }
        }
    });
    return iResult;
}

void Library::LoadMaskedText(QObject* MaskEdBox, std::string Text) {
    Guard("LoadMaskedText", [&] {
        QLineEdit* pEdit = MaskedEditBoxArgument(MaskEdBox);
        const QString sMask = pEdit->inputMask();
        pEdit->setInputMask(QString());
        pEdit->setText(QString::fromStdString(Text));
        // Setting the mask back lays the text into the mask's places.
        pEdit->setInputMask(sMask);
    });
}

bool Library::MultiListAnySelected(QObject* MultiSelectControl) {
    bool bResult = false;
    Guard("MultiListAnySelected", [&] {
        const QAbstractItemView* pView = MultiSelectView(MultiSelectControl);
        const QAbstractItemModel* pModel = pView->model();
        const int iCount = pModel->rowCount(pView->rootIndex());
        for (int iRow = 0; iRow < iCount && !bResult; ++iRow) {
            bResult =
                pView->selectionModel()->isSelected(pModel->index(iRow, 0, pView->rootIndex()));
        }
    });
    return bResult;
}

void Library::MultiListRemoveSelected(QObject* MultiSelectControl) {
    Guard("MultiListRemoveSelected", [&] {
        const QAbstractItemView* pView = MultiSelectView(MultiSelectControl);
        QAbstractItemModel* pModel = pView->model();
        const QModelIndex oRoot = pView->rootIndex();
        // Backwards, so that the rows still to look at keep their numbers.
        for (int iRow = pModel->rowCount(oRoot) - 1; iRow >= 0; --iRow) {
            if (pView->selectionModel()->isSelected(pModel->index(iRow, 0, oRoot)) &&
                !pModel->removeRow(iRow, oRoot)) {
                throw CRunTimeError::Standard(RunTimeErrors::InvalidProcedureCall);
            }
        }
    });
}

void Library::MultiListSelectAll(QObject* MultiSelectControl) {
    Guard("MultiListSelectAll", [&] {
        QAbstractItemView* pView = MultiSelectView(MultiSelectControl);
        QAbstractItemModel* pModel = pView->model();
        const QModelIndex oRoot = pView->rootIndex();
        const int iCount = pModel->rowCount(oRoot);
        if (iCount == 0) {
            return;
        }
        const CRedrawOff oRedrawOff(pView);
        const int iTop = pView->verticalScrollBar()->value();
        const QAbstractItemView::SelectionMode eMode = pView->selectionMode();
        if (eMode == QAbstractItemView::SingleSelection) {
            // One row can be selected: selecting each in turn leaves the last.
            pView->selectionModel()->select(pModel->index(iCount - 1, 0, oRoot),
                                            QItemSelectionModel::ClearAndSelect |
                                                QItemSelectionModel::Rows);
        } else if (eMode != QAbstractItemView::NoSelection) {
            pView->selectionModel()->select(
                QItemSelection(pModel->index(0, 0, oRoot), pModel->index(iCount - 1, 0, oRoot)),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
        pView->verticalScrollBar()->setValue(iTop);
    });
}

void Library::MultiListUnselectAll(QObject* MultiSelectControl) {
    Guard("MultiListUnselectAll", [&] {
        QAbstractItemView* pView = MultiSelectView(MultiSelectControl);
        QAbstractItemModel* pModel = pView->model();
        const QModelIndex oRoot = pView->rootIndex();
        const int iCount = pModel->rowCount(oRoot);
        if (iCount == 0) {
            return;
        }
        const CRedrawOff oRedrawOff(pView);
        pView->selectionModel()->select(
            QItemSelection(pModel->index(0, 0, oRoot), pModel->index(iCount - 1, 0, oRoot)),
            QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    });
}

std::int16_t Library::OutlineItemByText(QObject* Outline, const std::string& Text,
                                        const std::optional<Variant>& Start) {
    std::int16_t iResult = 0;
    Guard("OutlineItemByText", [&] {
        std::int32_t lStart = 0;
        if (Start) {
            lStart = WholeNumberStart(*Start, true);
            if (lStart < 0) {
                throw LibraryError(MLibraryStrings::ErrorStartIntegerOrLong);
            }
        }
        if (Outline == nullptr) {
            throw ObjectNotSet();
        }
        const auto* pView = qobject_cast<QAbstractItemView*>(Outline);
        if (pView == nullptr || pView->model() == nullptr) {
            throw NotSupported();
        }
        std::vector<QString> vTexts;
        CollectOutline(*pView->model(), pView->rootIndex(), vTexts);
        const QString sText = QString::fromStdString(Text);
        iResult = -1;
        for (std::size_t i = static_cast<std::size_t>(lStart); i < vTexts.size(); ++i) {
            if (vTexts[i] == sText) {
                iResult = ToIndex(static_cast<std::int64_t>(i));
                break;
            }
        }
    });
    return iResult;
}

void Library::SelectText(QObject* Control) {
    Guard("SelectText", [&] {
        QWidget* pControl = ControlArgument(Control, MLibraryStrings::ErrorControl);
        if (auto* pLineEdit = qobject_cast<QLineEdit*>(pControl)) {
            pLineEdit->selectAll();
        } else if (auto* pTextEdit = qobject_cast<QTextEdit*>(pControl)) {
            pTextEdit->selectAll();
        } else if (auto* pPlainTextEdit = qobject_cast<QPlainTextEdit*>(pControl)) {
            pPlainTextEdit->selectAll();
        } else if (auto* pSpinBox = qobject_cast<QAbstractSpinBox*>(pControl)) {
            pSpinBox->selectAll();
        } else if (auto* pCombo = qobject_cast<QComboBox*>(pControl);
                   pCombo != nullptr && pCombo->lineEdit() != nullptr) {
            pCombo->lineEdit()->selectAll();
        } else {
            throw NotSupported();
        }
    });
}

void Library::SetModelessDialog(QObject* Child, QObject* Parent) {
    Guard("SetModelessDialog", [&] {
        QWidget* pChild = FormArgument(Child, MLibraryStrings::ErrorChildForm);
        QWidget* pParent = nullptr;
        if (Parent != nullptr) {
            pParent = FormArgument(Parent, MLibraryStrings::ErrorParentForm);
            // A form cannot own itself or the form that owns it.
            if (IsSelfOrAncestor(pChild, pParent)) {
                throw CRunTimeError::Standard(RunTimeErrors::InvalidProcedureCall);
            }
        }
        if (pChild->parentWidget() == pParent) {
            return;
        }
        const bool bVisible = pChild->isVisible();
        const QPoint oPosition = pChild->pos();
        const Qt::WindowFlags eFlags = pChild->windowFlags();
        if (pParent != nullptr) {
            pChild->setParent(pParent, (eFlags & ~Qt::WindowType_Mask) | Qt::Dialog);
        } else {
            pChild->setParent(nullptr, eFlags);
        }
        pChild->move(oPosition);
        if (bVisible) {
            pChild->show();
        }
    });
}

void Library::SetRedraw(QObject* Window, bool Redraw) {
    Guard("SetRedraw", [&] {
        FormOrControl(Window, MLibraryStrings::ErrorWindowControlOrForm)->setUpdatesEnabled(Redraw);
    });
}

void Library::SetTopMost(QObject* Window, bool TopMost) {
    Guard("SetTopMost", [&] {
        QWidget* pForm = FormArgument(Window, MLibraryStrings::ErrorWindowForm);
        if (pForm->windowFlags().testFlag(Qt::WindowStaysOnTopHint) != TopMost) {
            // Changing a window's flags hides it: put it back as it was.
            const bool bVisible = pForm->isVisible();
            const QPoint oPosition = pForm->pos();
            const QSize oSize = pForm->size();
            const Qt::WindowStates eState = pForm->windowState();
            pForm->setWindowFlag(Qt::WindowStaysOnTopHint, TopMost);
            pForm->resize(oSize);
            pForm->move(oPosition);
            pForm->setWindowState(eState);
            if (bVisible) {
                pForm->show();
            }
        }
        if (TopMost && pForm->isVisible()) {
            pForm->raise();
        }
    });
}

void Library::SmartBeep(std::int16_t SoundType) {
    Guard("SmartBeep", [&] {
        (void)SoundType; // the desktop has no sound per message-box kind
        if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
            QApplication::beep();
        }
    });
}

bool Library::UnloadAllForms(const std::vector<QWidget*>& FormsCollection) {
    bool bResult = true;
    Guard("UnloadAllForms", [&] {
        // A form's closing may delete other forms: hold them by guarded pointers.
        std::vector<QPointer<QWidget>> vForms(FormsCollection.begin(), FormsCollection.end());
        for (auto it = vForms.rbegin(); it != vForms.rend(); ++it) {
            if (!it->isNull() && !(*it)->close()) {
                bResult = false;
                break;
            }
        }
    });
    return bResult;
}

} // namespace qlCommonLibrary
