(* latch with parallel branches *)
LD	1.0
OR	1.1
ORN	1.2
AND	1.3
SET	150.0

LD	1.4
AND	1.5
OR	1.6
ANDN	1.7
RES	150.0

LD	3.0
AND	3.1
OUT	3.2
AND	3.3
SET	3.4

END
