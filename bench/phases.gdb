# For bench/phases.sh: notes the time at the runner's steps, stopping nowhere,
# and prints the marks when the process ends.
set pagination off
set confirm off
set breakpoint pending on
python
import time

marks = []


class Mark(gdb.Breakpoint):
    def __init__(self, location, label):
        super().__init__(location, internal=True)
        self.label = label

    def stop(self):
        marks.append((self.label, time.monotonic()))
        return False


def print_marks(event):
    marks.append(("end", time.monotonic()))
    for label, at in marks:
        print("MARK %s %.4f" % (label, at))


gdb.events.exited.connect(print_marks)
Mark("patch::TableRebuild::Run", "structure")
Mark("patch::TableRebuild::CopyRows", "rows")
Mark("engine::detail::FileRewrite::finish", "indexes")
Mark("engine::CatalogueWriter::finish", "write")
Mark("engine::detail::FileRewrite::replaceOriginal", "replace")
end
python marks.append(("start", time.monotonic()))
run
