// filled in by the viewer host work
