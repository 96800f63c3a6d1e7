"""Runs every browser test (test_*.py beside this file) and closes with one line counting the
tests passed and failed; exits non-zero when any failed."""
import os
import sys
import unittest


def test_id(test):
    """The test's name; a failed subtest's is that of the test it belongs to."""
    return getattr(test, "test_case", test).id()


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    pattern = sys.argv[1] if len(sys.argv) > 1 else "test_*.py"
    suite = unittest.defaultTestLoader.discover(here, pattern=pattern, top_level_dir=here)
    result = unittest.TextTestRunner(verbosity=2, stream=sys.stdout).run(suite)
    failed = {test_id(test) for test, _ in result.failures + result.errors}
    failed |= {test_id(test) for test in result.unexpectedSuccesses}
    # A class whose setup failed counts once as failed; its tests did not run.
    failed_run = {test for test in failed if not test.startswith("setUpClass")}
    skipped = len(result.skipped)
    passed = result.testsRun - len(failed_run) - skipped
    print("web: %d passed, %d failed%s" % (passed, len(failed),
                                          ", %d skipped" % skipped if skipped else ""))
    return 0 if result.wasSuccessful() and result.testsRun > 0 else 1


if __name__ == "__main__":
    sys.exit(main())
