#pragma once
#define IDD_TEST_DIALOG 9001
#define IDC_TEST_EDIT   9002
#define IDD_MISSING     9099
#define IDR_NOT_A_PNG   9100
#define IDR_EMPTY_PNG   9101
#define IDC_TEST_OWNERDRAW 9003
