#include "afx/winheaders.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&icc);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
