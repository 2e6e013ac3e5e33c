(* inputs of the function *)
FIN	40.3

LD	1.0
ADD	110, 111, 112
OUT	2.0

LDN	1.1
AND	1.2
ADD	10, 11, 12
SET	2.1
AND	1.5
RES	2.2

END
