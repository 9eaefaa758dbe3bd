# Report engine and report layouts: their own program, with a main() that creates the QApplication.
ombrisa_test_program(ombrisa_report_tests report ombrisa_report Qt6::Widgets)
