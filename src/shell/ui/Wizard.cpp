#include "shell/ui/Wizard.h"

#include "compare/ui/TFormMain.h"
#include "compare/ui/TFormSolQ.h"
#include "evaluate/ui/TFormFinal.h"
#include "lists/ui/TFormListAlt.h"
#include "lists/ui/TFormListQuality.h"
#include "shell/ui/ErrorBox.h"
#include "shell/ui/TFormInit.h"
#include "storage/ComUnit.h"
#include "storage/ui/TFormListProblem.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

using namespace Qt::Literals::StringLiterals;

namespace {

// Qt's own texts, the standard buttons of the message boxes ("Да", "Нет") and the
// editors' context menus among them, in Russian whatever the user's locale: the
// program speaks Russian only. qtbase holds every text of Qt's widgets; the
// files come with Qt (Debian package qt6-translations-l10n).
void loadQtTranslations()
{
    const QString name = u"qtbase_ru"_s;
    if (qApp->findChild<QTranslator*>(name, Qt::FindDirectChildrenOnly))
        return;
    auto translator = std::make_unique<QTranslator>();
    translator->setObjectName(name);
    if (!translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return; // without the files Qt's texts stay English; the program's own stay Russian
    QCoreApplication::installTranslator(translator.get());
    translator.release()->setParent(qApp);
}

} // namespace

void Wizard::prepareApplication()
{
    // Only the application name: a display name would be appended to every window
    // title by some platforms, and the titles must read exactly as designed.
    QCoreApplication::setApplicationName(QString::fromUtf16(ErrorBox::Caption));
    QGuiApplication::setQuitOnLastWindowClosed(false);
    // The screens are laid out in pixels for a narrow 8-point face; the
    // condensed DejaVu face (installed with the program) keeps every caption
    // inside its button.
    QFont face(u"DejaVu Sans Condensed"_s);
    face.setPointSize(9);
    QApplication::setFont(face);
    loadQtTranslations();
}

template <typename Screen> Screen* Wizard::create(std::unique_ptr<Screen> screen)
{
    Screen* raw = screen.get();
    connect(raw, &WizardScreen::closeConfirmed, this, &Wizard::quitRequested);
    m_screens.push_back(std::move(screen));
    return raw;
}

Wizard::Wizard()
{
    FormInit = create(std::make_unique<TFormInit>());
    FormInit->setObjectName(u"FormInit"_s);
    FormListAlt = create(std::make_unique<TFormListAlt>());
    FormListAlt->setObjectName(u"FormListAlt"_s);
    FormMain = create(std::make_unique<TFormMain>());
    FormMain->setObjectName(u"FormMain"_s);
    FormStart = create(std::make_unique<TFormStart>(QString()));
    FormStart->setObjectName(u"FormStart"_s);
    FormListQuality = create(std::make_unique<TFormListQuality>());
    FormListQuality->setObjectName(u"FormListQuality"_s);
    FormFinal = create(std::make_unique<TFormFinal>());
    FormFinal->setObjectName(u"FormFinal"_s);
    FormListProblem = create(std::make_unique<TFormListProblem>());
    FormListProblem->setObjectName(u"FormListProblem"_s);
    FormSolQ = create(std::make_unique<TFormSolQ>());
    FormSolQ->setObjectName(u"FormSolQ"_s);

    connect(FormInit, &TFormInit::forward, this, [this] { switchTo(FormInit, FormListProblem); });
    connect(FormListProblem, &TFormStart::back, this, [this] { switchTo(FormListProblem, FormInit); });
    connect(FormListProblem, &TFormStart::forward, this, [this] { switchTo(FormListProblem, FormListAlt); });
    connect(FormListAlt, &TFormStart::back, this, [this] { switchTo(FormListAlt, FormListProblem); });
    connect(FormListAlt, &TFormStart::forward, this, [this] { switchTo(FormListAlt, FormListQuality); });
    connect(FormListQuality, &TFormStart::back, this, [this] { switchTo(FormListQuality, FormListAlt); });
    connect(FormListQuality, &TFormListQuality::stepByStepChosen, this,
            [this] { switchTo(FormListQuality, FormMain); });
    connect(FormListQuality, &TFormListQuality::compactChosen, this, [this] {
        FormSolQ->Page = TFormSolQ::CriteriaPage;
        switchTo(FormListQuality, FormSolQ);
    });
    connect(FormMain, &TFormMain::forward, this, [this] { switchTo(FormMain, FormFinal); });
    connect(FormMain, &TFormMain::back, this, [this] { switchTo(FormMain, FormListQuality); });
    connect(FormSolQ, &TFormSolQ::forward, this, [this] { switchTo(FormSolQ, FormFinal); });
    connect(FormSolQ, &TFormSolQ::back, this, [this] { switchTo(FormSolQ, FormListQuality); });
    // Back from the results into the comparison last used: the compact screen
    // redisplays the page it showed last, the dialog shows the last step.
    // A judgement to revise from the analysis opens in the comparison last used; the dialog's short way leads
    // straight back to the results, and to the analysis on the page it showed.
    connect(FormFinal, &TFormFinal::revise, this, [this](int step) {
        if (ComUnit::InterfaceMode == 1) {
            FormSolQ->openRevision(step);
            switchTo(FormFinal, FormSolQ);
        } else {
            FormMain->openRevision(step);
            switchTo(FormFinal, FormMain);
        }
    });
    connect(FormMain, &TFormMain::toResults, this, [this] {
        switchTo(FormMain, FormFinal);
        FormFinal->reopenAnalysis();
    });
    connect(FormFinal, &TFormFinal::back, this, [this] {
        if (ComUnit::InterfaceMode == 1)
            switchTo(FormFinal, FormSolQ);
        else
            switchTo(FormFinal, FormMain);
    });
}

Wizard::~Wizard() = default;

QList<WizardScreen*> Wizard::screens() const
{
    QList<WizardScreen*> result;
    for (const auto& screen : m_screens)
        result.append(screen.get());
    return result;
}

void Wizard::start()
{
    m_current = FormInit;
    FormInit->show();
}

void Wizard::switchTo(WizardScreen* from, WizardScreen* to)
{
    // The new screen shows whatever it could load; a failure is told, not hidden.
    ErrorBox::guarded(to, [to] { to->load(); });
    to->show();
    from->hide();
    m_current = to;
}
