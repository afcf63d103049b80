#include "tests/ui/main_window_fixture.h"

void MainWindow::SetUp() {
    ASSERT_TRUE(m_dlg.Create());
    m_window = m_backend.TopWindow();
    ASSERT_NE(m_window, nullptr);
}
