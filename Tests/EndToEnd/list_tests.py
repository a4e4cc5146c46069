"""Prints the end-to-end test ids (module.Class.method), one a line, for ctest."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))


def ids(suite):
    for item in suite:
        if isinstance(item, unittest.TestSuite):
            yield from ids(item)
        else:
            yield item.id()


loader = unittest.TestLoader()
for test_id in ids(loader.discover(os.path.dirname(os.path.abspath(__file__)), pattern="test_*.py")):
    print(test_id)
