#include "WindowFixture.h"

#include "WindowLook.h"

void WindowTest::initTestCase()
{
    WindowLook::registerFonts();
}

void WindowTest::init()
{
    m_folder = new QTemporaryDir;
    QVERIFY(m_folder->isValid());
    m_dialogs = new ScriptedDialogs;
    m_form = new Form1(*m_dialogs);
    m_form->show();
    // Keys reach their commands only in the active window, and the marquee runs only there.
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
}

void WindowTest::cleanup()
{
    if (!QTest::currentTestFailed()) {
        QVERIFY(m_dialogs->allUsed());
    }
    delete m_form;
    delete m_dialogs;
    delete m_folder;
    m_form = nullptr;
    m_dialogs = nullptr;
    m_folder = nullptr;
}
