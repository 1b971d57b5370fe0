#include "optionsf.h"

#include "app/appsettings.h"
#include "app/askuser.h"
#include "app/editorwidth.h"
#include "app/ui/selectfolder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QWidget *page(QTabWidget *tabs, const QString &title) {
    auto *w = new QWidget;
    new QVBoxLayout(w);
    tabs->addTab(w, title);
    return w;
}

void add(QWidget *page, QWidget *control) { static_cast<QVBoxLayout *>(page->layout())->addWidget(control); }

QGroupBox *twoChoices(const QString &title, QRadioButton *&first, QRadioButton *&second, const QString &a,
                      const QString &b, const QString &hint) {
    auto *box = new QGroupBox(title);
    auto *l = new QVBoxLayout(box);
    first = new QRadioButton(a);
    second = new QRadioButton(b);
    l->addWidget(first);
    l->addWidget(second);
    box->setToolTip(hint);
    return box;
}

} // namespace

TOptionsF::TOptionsF(TAppSettings &settings, OptionsHooks hooks, QWidget *owner)
    : TForm1(owner), settings_(settings), hooks_(std::move(hooks)), pages_(new QTabWidget(this)) {
    setWindowTitle(QStringLiteral("Настройки"));
    resize(450, 400);
    if (!hooks_.selectFolder)
        hooks_.selectFolder = [this](const QString &title, QString &path) { return SelectFolder(this, title, path); };

    QWidget *project = page(pages_, QStringLiteral("Проект"));
    add(project, CBShowWarnings = new QCheckBox(QStringLiteral("Показывать Warnings при компиляции")));
    add(project, CBBackup = new QCheckBox(QStringLiteral("Делать BACKUP перед программированием")));
    CBBackup->setEnabled(false);

    QWidget *database = page(pages_, QStringLiteral("База данных"));
    add(database, new QLabel(QStringLiteral("Путь к базе данных")));
    auto *row = new QWidget;
    auto *rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    rowLayout->addWidget(EDatabase = new QLineEdit);
    auto *browse = new QPushButton(QStringLiteral("..."));
    rowLayout->addWidget(browse);
    add(database, row);
    connect(browse, &QPushButton::clicked, this, &TOptionsF::chooseFolder);

    QWidget *editor = page(pages_, QStringLiteral("Редактор"));
    add(editor, new QLabel(QStringLiteral("Ширина окна редактора кода, %")));
    add(editor, CBEditorWidth = new QComboBox);
    for (int p = 10; p <= 60; p += 10)
        CBEditorWidth->addItem(QString::number(p));
    add(editor, CBLoadLast = new QCheckBox(QStringLiteral("Загружать последний проект при запуске")));
    add(editor, CBResize = new QCheckBox(QStringLiteral("Автоматически расставлять окна при изменении размеров")));
    CBResize->setEnabled(false);

    QWidget *detect = page(pages_, QStringLiteral("Автодетект"));
    add(detect, new QLabel(QStringLiteral("Время автодетекта устройств, сек")));
    add(detect, CBDetectTime = new QComboBox);
    for (int s = 1; s <= 6; ++s)
        CBDetectTime->addItem(QString::number(s));

    QWidget *system = page(pages_, QStringLiteral("Системные"));
    add(system, twoChoices(QStringLiteral(" Режим работы программы "), RBWorking, RBDebug, QStringLiteral("Рабочий"),
                           QStringLiteral("Отладочный"),
                           QStringLiteral("В Отладочном режиме доступны дополнительные функции")));
    add(system, twoChoices(QStringLiteral(" Режим сети CAN "), RBNetWorking, RBNetDemo, QStringLiteral("Рабочий"),
                           QStringLiteral("Демо"), QStringLiteral("В Демо-режиме происходит эмуляция работы с сетью CAN")));
    page(pages_, QStringLiteral("Отладочные"));
    for (auto [w, name] : {std::pair<QWidget *, const char *>{CBEditorWidth, "CBEditorWidth"},
                           {CBDetectTime, "CBDetectTime"}, {EDatabase, "EDatabase"}})
        w->setObjectName(QLatin1String(name));
    for (QWidget *p : {project, database, editor, detect, system})
        static_cast<QVBoxLayout *>(p->layout())->addStretch();

    // The choices of the system page take effect at once, even after Cancel.
    connect(RBNetDemo, &QRadioButton::toggled, this, [this](bool demo) {
        settings_.AdminSettings.setDemoMode(demo);
        hooks_.setDemo(demo);
    });
    connect(RBDebug, &QRadioButton::toggled, this,
            [this](bool debug) { settings_.AdminSettings.SetSystemPRMode(debug ? 1 : 0); });
    connect(pages_, &QTabWidget::currentChanged, this, [this](int index) {
        if (index == SystemPage)
            showSystemPage();
    });

    auto *buttons = new QDialogButtonBox;
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    QPushButton *applyButton = buttons->addButton(QStringLiteral("Применить"), QDialogButtonBox::ApplyRole);
    buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        apply();
        accept();
    });
    connect(applyButton, &QPushButton::clicked, this, &TOptionsF::apply);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->addWidget(pages_);
    layout->addWidget(buttons);
}

bool TOptionsF::execOnPage(Page page) {
    pages_->setCurrentIndex(page);
    return exec() == QDialog::Accepted;
}

void TOptionsF::showEvent(QShowEvent *event) {
    fillFromSettings();
    TForm1::showEvent(event);
}

void TOptionsF::fillFromSettings() {
    CBShowWarnings->setChecked(settings_.compilerShowWarning());
    EDatabase->setText(settings_.DatabaseDir());
    CBLoadLast->setChecked(settings_.loadLastProject());
    CBResize->setChecked(true);
    const int width = CBEditorWidth->findText(QString::number(editorWidthPercent()));
    CBEditorWidth->setCurrentIndex(width < 0 ? 4 : width);
    const std::optional<int> detect = hooks_.detectTime();
    const int detectIndex = detect ? CBDetectTime->findText(QString::number(*detect)) : -1;
    CBDetectTime->setCurrentIndex(detectIndex < 0 ? 2 : detectIndex);
    showSystemPage();
}

void TOptionsF::showSystemPage() {
    const QSignalBlocker a(RBNetDemo), b(RBDebug);
    (settings_.AdminSettings.demoMode() ? RBNetDemo : RBNetWorking)->setChecked(true);
    (settings_.AdminSettings.SystemPRMode() == 1 ? RBDebug : RBWorking)->setChecked(true);
}

void TOptionsF::chooseFolder() {
    QString path = EDatabase->text();
    if (hooks_.selectFolder(QStringLiteral("Выберите путь к базе данных"), path))
        EDatabase->setText(path);
}

void TOptionsF::apply() {
    if (EDatabase->text() != settings_.DatabaseDir()) {
        settings_.SetDatabaseDir(EDatabase->text());
        if (hooks_.mainWindowVisible())
            userDialogs().showMessage(QStringLiteral(
                "Изменения, связанные со сменой базы данных, вступят в силу при перезапуске приложения!"));
    }
    settings_.InterfaceSettings.setResizeForm(CBResize->isChecked());
    settings_.setCompilerShowWarning(CBShowWarnings->isChecked());
    settings_.setLoadLastProject(CBLoadLast->isChecked());
    editorWidthPercent() = CBEditorWidth->currentText().toInt();
    hooks_.relayout();
    if (hooks_.detectTime())
        hooks_.setDetectTime(CBDetectTime->currentText().toInt());
}
