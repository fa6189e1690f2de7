#include "ui/MyMessage/message_window.h"

#include "ui/MyMessage/message_art.h"
#include "ui/MyMessage/message_kinds.h"
#include "ui/MyMessage/message_label.h"
#include "ui/MyMessage/message_layout.h"
#include "ui/bevel_line.h"

#include <QApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QToolButton>

namespace MyMessage {

TOknoKomunikatu* OknoKomunikatu = nullptr;

QEvent::Type CloseMessageEventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType(QEvent::User + 101));
    return type;
}

namespace {

const QColor DesignStripColor(0xC0, 0xC0, 0xC0);
constexpr int PanelTop = WindowHeight - StripHeight;
constexpr int BevelHeight = 13;

// Where "MS Sans Serif" is missing the closest sans serif stands in at the
// same pixel size; the window's geometry does not depend on it.
QFont DesignFont(bool bold)
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    font.setBold(bold);
    return font;
}

void SetColorRoles(QWidget& widget, std::initializer_list<QPalette::ColorRole> roles, const QColor& color)
{
    QPalette palette = widget.palette();
    for (QPalette::ColorRole role : roles) palette.setColor(role, color);
    widget.setPalette(palette);
}

// Accelerators are handled by the window (first button in order wins), so the
// button's own mnemonic shortcut is dropped.
void SetCaption(QToolButton& button, const QString& caption)
{
    button.setText(caption);
    button.setShortcut(QKeySequence());
}

QToolButton* MakeButton(QWidget* strip, const char* name, int left, const QString& caption)
{
    auto* button = new QToolButton(strip);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(left, ButtonTop, ButtonWidth, ButtonHeight);
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setFocusPolicy(Qt::NoFocus);
    button->setIconSize(QSize(GlyphSize, GlyphSize));
    SetCaption(*button, caption);
    return button;
}

// The letter a key press types, for matching against accelerators.
QChar TypedLetter(const QKeyEvent& event)
{
    if (event.modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return {};
    const QString text = event.text();
    if (!text.isEmpty()) return text[0].isPrint() ? text[0].toUpper() : QChar();
    // Alt held: some platforms deliver no text.
    const int key = event.key();
    if (key > 0x20 && key < 0x100) return QChar(key).toUpper();
    return {};
}

}  // namespace

TOknoKomunikatu::TOknoKomunikatu(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("OknoKomunikatu"));
    setFixedSize(WindowWidth, WindowHeight);
    setFont(DesignFont(false));
    const QPalette system = QApplication::palette();
    SetColorRoles(*this, {QPalette::Window}, system.color(QPalette::Button));
    SetColorRoles(*this, {QPalette::WindowText}, system.color(QPalette::WindowText));
    setAutoFillBackground(true);

    Image = new QLabel(this);
    Image->setObjectName(QStringLiteral("Image"));
    Image->setGeometry(3, 15, PictureSize, PictureSize);

    // Created before the strip so that a tall text runs under it.
    Text = new TMessageLabel(this);
    Text->setObjectName(QStringLiteral("Text"));
    Text->setFont(DesignFont(true));
    Text->move(60, 10);

    PANEL = new QWidget(this);
    PANEL->setObjectName(QStringLiteral("PANEL"));
    PANEL->setGeometry(0, PanelTop, WindowWidth, StripHeight);
    PANEL->setAutoFillBackground(true);
    SetColorRoles(*PANEL, {QPalette::Window, QPalette::Button}, DesignStripColor);

    cmdBtn1 = MakeButton(PANEL, "cmdBtn1", 17, QStringLiteral("&Ok"));
    cmdBtn2 = MakeButton(PANEL, "cmdBtn2", 109, QStringLiteral("&Anuluj"));
    Bevel1 = new ui::TBevelLine(PANEL);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setGeometry(0, 0, WindowWidth, BevelHeight);
    cmdBtn3 = MakeButton(PANEL, "cmdBtn3", 201, QStringLiteral("&Przerwij"));
    for (QToolButton* button : {cmdBtn1, cmdBtn2, cmdBtn3})
        connect(button, &QToolButton::clicked, this, &TOknoKomunikatu::cmdBtn2Click);

    previous_ = OknoKomunikatu;
    OknoKomunikatu = this;
}

TOknoKomunikatu::~TOknoKomunikatu()
{
    if (OknoKomunikatu == this) OknoKomunikatu = previous_;
}

void TOknoKomunikatu::SetModalResult(int result)
{
    modalResult_ = result;
    if (result != ResultNone) done(result);
}

void TOknoKomunikatu::SetButtonKinds(const std::vector<std::uint8_t>& buttons)
{
    for (std::size_t slot = 0; slot < ButtonKinds.size(); ++slot)
        ButtonKinds[slot] = slot < buttons.size() ? buttons[slot] : NoButtonKind;
}

void TOknoKomunikatu::SetPicture(std::uint8_t pictureKind)
{
    const QPixmap picture = MessagePicturePixmap(pictureKind);
    if (!picture.isNull()) Image->setPixmap(picture);
    Image->setAccessibleName(PictureName(pictureKind));
}

void TOknoKomunikatu::ApplyColors(const std::vector<std::int32_t>& colors)
{
    // A short list leaves the missing elements at their design colours.
    auto entry = [&colors](std::size_t index) -> std::optional<QColor> {
        return index < colors.size() ? ColorFromValue(colors[index]) : std::nullopt;
    };
    if (const auto window = entry(0)) SetColorRoles(*this, {QPalette::Window}, *window);
    if (const auto strip = entry(1)) SetColorRoles(*PANEL, {QPalette::Window, QPalette::Button}, *strip);
    if (const auto text = entry(2)) SetColorRoles(*Text, {QPalette::WindowText}, *text);
}

void TOknoKomunikatu::PlaceButtons(std::size_t buttonCount)
{
    const std::array<int, 3> lefts = ButtonLefts(buttonCount);
    for (int slot = 0; slot < 3; ++slot) ButtonAt(slot)->move(lefts[slot], ButtonTop);
}

void TOknoKomunikatu::ApplyButtonKinds()
{
    for (int slot = 0; slot < 3; ++slot) {
        const std::uint8_t kind = ButtonKinds[slot];
        if (kind < ButtonKindCount) SetCaption(*ButtonAt(slot), ButtonCaptions()[kind]);
    }
    for (int slot = 0; slot < 3; ++slot) {
        const QPixmap glyph = ButtonGlyphPixmap(ButtonKinds[slot]);
        if (!glyph.isNull()) ButtonAt(slot)->setIcon(QIcon(glyph));
    }
}

void TOknoKomunikatu::SetMessageText(const QString& messageText)
{
    Text->SetCaption(messageText);
    Text->move(TextPosition(Text->width(), Text->height()));
    // A screen reader announces the window with its message, as it does the
    // platform's own message boxes.
    setAccessibleDescription(WithoutAccelerators(messageText));
}

QColor TOknoKomunikatu::TextColor() const
{
    return Text->palette().color(QPalette::WindowText);
}

void TOknoKomunikatu::reject()
{
    // Esc and the title bar's close button both end the window with 2.
    SetModalResult(ResultCancel);
}

void TOknoKomunikatu::cmdBtn2Click()
{
    const QObject* button = sender();
    const int slot = button == cmdBtn3 ? 2 : button == cmdBtn2 ? 1 : 0;
    if (const auto result = ButtonResult(ButtonKinds[slot])) SetModalResult(*result);
}

bool TOknoKomunikatu::event(QEvent* event)
{
    if (event->type() == CloseMessageEventType()) {
        SetModalResult(ResultCancel);
        return true;
    }
    return QDialog::event(event);
}

void TOknoKomunikatu::keyPressEvent(QKeyEvent* event)
{
    // Accelerators first, as the platform's dialog-character handling runs
    // before the window's own key handler.
    DialogChar(event);
    FormKeyPress(event);
}

void TOknoKomunikatu::DialogChar(QKeyEvent* event)
{
    const QChar letter = TypedLetter(*event);
    if (letter.isNull()) return;
    for (int slot = 0; slot < 3; ++slot) {
        QToolButton* button = ButtonAt(slot);
        if (AcceleratorOf(button->text()) == letter) {
            button->click();
            return;
        }
    }
}

void TOknoKomunikatu::FormKeyPress(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: cmdBtn1->click(); break;
    case Qt::Key_Escape: SetModalResult(ResultCancel); break;
    default: break;
    }
}

QToolButton* TOknoKomunikatu::ButtonAt(int slot) const
{
    return slot == 2 ? cmdBtn3 : slot == 1 ? cmdBtn2 : cmdBtn1;
}

}  // namespace MyMessage
