"""Sums the result files the test programs write: cases run, failed, skipped."""
import pathlib
import sys
import xml.etree.ElementTree as ElementTree

folder = pathlib.Path(sys.argv[1])
run = failed = skipped = 0
failures = []
for result in sorted(folder.glob("*.xml")):
    for case in ElementTree.parse(result).getroot().iter("testcase"):
        if case.get("result", "completed") != "completed" or case.get("status") == "notrun":
            continue
        run += 1
        if case.find("skipped") is not None:
            skipped += 1
        if case.find("failure") is not None:
            failed += 1
            failures.append(f"{case.get('classname')}.{case.get('name')} ({result.stem})")
print(f"test cases: {run} run, {failed} failed, {skipped} skipped, in {len(list(folder.glob('*.xml')))} processes")
for name in failures:
    print(f"  FAILED {name}")
