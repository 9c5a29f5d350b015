#include "Dialog.h"

#include <memory>

#include "detail/Pictures.h"

#include "framework/core/Commands.h"
#include "framework/core/Resource.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPushButton>

namespace {

// The template's font, or an installed Korean one where it is missing.
QFont TemplateFont(const res::Dialog& t)
{
    QFont font(QString::fromUtf8(t.fontName), t.pointSize);
    if (QFontDatabase::families().contains(font.family()))
        return font;
    for (const char* family : {"NanumGothic", "Nanum Gothic", "Noto Sans CJK KR", "UnDotum"})
        if (QFontDatabase::families().contains(QString::fromUtf8(family)))
            return QFont(QString::fromUtf8(family), t.pointSize);
    return font;
}

// Dialog units to pixels through the font's average character size.
struct Units {
    double x, y;
    explicit Units(const QFont& font)
    {
        const QFontMetrics fm(font);
        x = fm.averageCharWidth() / 4.0;
        y = fm.height() / 8.0;
    }
    QRect Rect(int l, int t, int w, int h) const
    {
        return QRect(int(l * x + 0.5), int(t * y + 0.5), int(w * x + 0.5), int(h * y + 0.5));
    }
};

class DialogWidget : public QDialog {
public:
    DialogWidget(CDialog* pOwner, QWidget* pParent) : QDialog(pParent), m_pOwner(pOwner) {}

    void accept() override { m_pOwner->OnOK(); }
    void reject() override { m_pOwner->OnCancel(); }
    void Finish(int result) { done(result); }

private:
    CDialog* m_pOwner;
};

} // namespace

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd)
{}

CDialog::~CDialog() = default;

QWidget* CDialog::CreateWidget(QWidget* pParent) { return new DialogWidget(this, pParent); }

int CDialog::DoModal()
{
    const res::Dialog* t = res::FindDialog(m_nIDTemplate);
    if (!t)
        return -1;
    CWnd* owner = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    QWidget* parent = owner && owner->Widget() ? owner->Widget() : QApplication::activeWindow();
    // The dialog's window lives for this call only.
    const std::unique_ptr<QWidget> window(CreateWidget(parent));
    AttachWidget(window.get());
    auto* dialog = static_cast<DialogWidget*>(window.get());
    dialog->setWindowTitle(QString::fromUtf8(t->caption));
    const QFont font = TemplateFont(*t);
    dialog->setFont(font);
    const Units du(font);
    dialog->setFixedSize(du.Rect(0, 0, t->cx, t->cy).size());
    for (const res::DialogItem& item : t->items) {
        const QRect r = du.Rect(item.x, item.y, item.cx, item.cy);
        if (item.kind == res::DialogItem::Button) {
            auto* button = new QPushButton(QString::fromUtf8(item.text), dialog);
            button->setGeometry(r);
            button->setDefault(true);
            button->setObjectName(QStringLiteral("control%1").arg(item.id));
            QObject::connect(button, &QPushButton::clicked, dialog,
                             [this, item] { item.id == int(IDOK) ? OnOK() : EndDialog(item.id); });
        } else {
            auto* label = new QLabel(dialog);
            label->setGeometry(r);
            if (item.kind == res::DialogItem::Icon) {
                if (const QIcon icon = ResourceIcon(item.iconId); !icon.isNull()) {
                    label->setPixmap(icon.pixmap(32, 32));
                    label->resize(32, 32);
                }
            } else {
                label->setText(QString::fromUtf8(item.text));
                label->setTextFormat(Qt::PlainText);
            }
        }
    }
    OnInitDialog();
    const int result = dialog->exec();
    AttachWidget(nullptr);
    return result;
}

BOOL CDialog::OnInitDialog()
{
    CDataExchange dx;
    DoDataExchange(&dx);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::OnOK()
{
    CDataExchange dx;
    dx.m_bSaveAndValidate = TRUE;
    DoDataExchange(&dx);
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::EndDialog(int nResult)
{
    if (auto* dialog = dynamic_cast<DialogWidget*>(Widget()))
        dialog->Finish(nResult);
}

// ---- colour dialog ------------------------------------------------------------------------

CColorDialog::CColorDialog(COLORREF clrInit, DWORD dwFlags, CWnd* pParentWnd)
    : m_color(clrInit), m_dwFlags(dwFlags), m_pParentWnd(pParentWnd)
{}

int CColorDialog::DoModal()
{
    QWidget* parent = m_pParentWnd && m_pParentWnd->Widget() ? m_pParentWnd->Widget()
                                                             : QApplication::activeWindow();
    QColorDialog dialog(parent);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (m_dwFlags & CC_RGBINIT)
        dialog.setCurrentColor(QColor(GetRValue(m_color), GetGValue(m_color), GetBValue(m_color)));
    bool none = false;
    if (!m_strNoColor.empty())
        if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
            QPushButton* button = buttons->addButton(QString::fromUtf8(m_strNoColor.c_str()),
                                                     QDialogButtonBox::ActionRole);
            QObject::connect(button, &QPushButton::clicked, &dialog, [&] {
                none = true;
                dialog.accept();
            });
        }
    if (dialog.exec() != QDialog::Accepted)
        return IDCANCEL;
    if (none) {
        m_color = CLR_NONE;
        return IDOK;
    }
    const QColor c = dialog.currentColor();
    m_color = RGB(BYTE(c.red()), BYTE(c.green()), BYTE(c.blue()));
    return IDOK;
}
