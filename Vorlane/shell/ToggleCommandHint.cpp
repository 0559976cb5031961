#include "ToggleCommandHint.h"

#include "HotKeys/HotKeys.h"
#include "ToggleShortcut.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <algorithm>

namespace {
const char* const copyButtonTitle = QT_TRANSLATE_NOOP("ToggleCommandHint", "Copy");

bool inWaylandSession()
{
    return qEnvironmentVariable("XDG_SESSION_TYPE") == u"wayland" ||
           qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

// Desktops split a shortcut's command as a shell does: a path with anything but plain characters
// goes in single quotes, a quote inside it as '\''.
QString quotedPath(const QString& path)
{
    const auto plain = [](QChar c) {
        return (c.isLetterOrNumber() && c.unicode() < 128) || QStringView(u"/._-+").contains(c);
    };
    if (std::all_of(path.cbegin(), path.cend(), plain))
        return path;
    return u'\'' + QString(path).replace(u'\'', QStringLiteral("'\\''")) + u'\'';
}
} // namespace

ToggleCommandHint::ToggleCommandHint(QWidget* parent)
    : QWidget(parent)
    , m_message(new QLabel(this))
    , m_command(new QLineEdit(this))
    , m_copy(new QPushButton(tr(copyButtonTitle), this))
{
    setObjectName(QStringLiteral("toggleCommandHint"));
    m_message->setObjectName(QStringLiteral("toggleCommandMessage"));
    m_message->setWordWrap(true);
    m_message->setText(
        tr("The desktop does not let Vorlane have this shortcut. To summon Vorlane with a key, add "
           "a shortcut in the desktop's keyboard settings that runs this command:"));
    m_command->setObjectName(QStringLiteral("toggleCommand"));
    m_command->setReadOnly(true);
    m_command->setText(toggleCommand());
    m_command->setToolTip(m_command->text());
    // The end of a long path is the part that says what the command does.
    m_command->setCursorPosition(int(m_command->text().size()));
    m_copy->setObjectName(QStringLiteral("copyToggleCommand"));
    m_copy->setAutoDefault(false);
    connect(m_copy, &QPushButton::clicked, this, &ToggleCommandHint::copyCommand);

    auto* commandRow = new QHBoxLayout;
    commandRow->addWidget(m_command, 1);
    commandRow->addWidget(m_copy);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(m_message);
    column->addLayout(commandRow);

    // The desktop's answer about the shortcut may come later than the window.
    connect(&HotKeys::ShortcutNotifier::instance(),
            &HotKeys::ShortcutNotifier::systemBindingDidChange, this, &ToggleCommandHint::refresh);
    connect(&HotKeys::ShortcutNotifier::instance(),
            &HotKeys::ShortcutNotifier::shortcutByNameDidChange, this, &ToggleCommandHint::refresh);
    refresh();
}

QString ToggleCommandHint::toggleCommand()
{
    return toggleCommand(QCoreApplication::applicationFilePath(),
                         QStandardPaths::findExecutable(QStringLiteral("vorlane")));
}

QString ToggleCommandHint::toggleCommand(const QString& executable, const QString& installed)
{
    const QString self = QFileInfo(executable).canonicalFilePath();
    if (!installed.isEmpty() && !self.isEmpty() && QFileInfo(installed).canonicalFilePath() == self)
        return QStringLiteral("vorlane --toggle");
    return quotedPath(executable) + QStringLiteral(" --toggle");
}

bool ToggleCommandHint::reachesEveryWindow(const HotKeys::SystemBinding& binding,
                                           bool waylandSession)
{
    using State = HotKeys::SystemBinding::State;
    if (binding.state == State::refused)
        return false;
    // On Wayland only the desktop portal binds for every window, and it names its trigger.
    if (waylandSession && binding.state == State::granted && binding.trigger.isEmpty())
        return false;
    return true;
}

bool ToggleCommandHint::toggleShortcutReachesEveryWindow()
{
    return reachesEveryWindow(HotKeys::systemBinding(toggleAppName()), inWaylandSession());
}

void ToggleCommandHint::refresh()
{
    const bool shown = !toggleShortcutReachesEveryWindow();
    if (shown)
        m_copy->setText(tr(copyButtonTitle));
    setVisible(shown);
}

void ToggleCommandHint::copyCommand()
{
    QGuiApplication::clipboard()->setText(m_command->text());
    m_copy->setText(tr("Copied"));
}
